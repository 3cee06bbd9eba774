// control ADDRESS ACTION: one-way controls, clock, NTP, lens gear and GPIO outputs.
#include <CLI/CLI.hpp>

#include <cstring>
#include <ctime>
#include <memory>

#include "cam_session.h"
#include "cli_common.h"

namespace cli {

namespace {

struct GpioOutput {
    const char *name;
    int bit;
};
const GpioOutput kGpioOutputs[] = {
    {"light", SARVIK_GPIO_OUT_LIGHT}, {"ledy", SARVIK_GPIO_OUT_LEDY}, {"ledb", SARVIK_GPIO_OUT_LEDB},
    {"alarm", SARVIK_GPIO_OUT_ALARM}, {"buzz", SARVIK_GPIO_OUT_BUZZ},
};

int usage(const std::string &text) {
    message(text);
    return EXIT_USAGE;
}

bool parseInt(const std::string &s, long lo, long hi, long *out) {
    char *end = nullptr;
    errno = 0;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || *end || errno || v < lo || v > hi) return false;
    *out = v;
    return true;
}

int sendCtl(CameraSession &cam, uint16_t command, uint8_t param0, const char *what) {
    _Ctl c{};
    c.command = command;
    c.param[0] = param0;
    const int r = Sarvik_SendControl(cam.user(), &c);
    if (r != 0) {
        error(cam.address(), what, r);
        return exitCodeOf(r);
    }
    message(cam.address() + ": " + what + " sent");
    return EXIT_OK;
}

int sendCtlX(CameraSession &cam, _CtlX *x, const char *what) {
    const int r = Sarvik_SendControlX(cam.user(), x);
    if (r != 0) {
        error(cam.address(), what, r);
        return exitCodeOf(r);
    }
    return EXIT_OK;
}

int runControl(const std::string &address, const std::vector<std::string> &args) {
    if (args.empty()) return usage("control: an action is needed");
    const std::string &action = args[0];
    const auto want = [&](size_t n) { return args.size() == n + 1; };

    // Check the words before touching the camera.
    long level = 0, gpioBit = 0;
    bool gpioOn = false;
    if (action == "shutter") {
        if (!want(1) || (args[1] != "open" && args[1] != "close")) return usage("control: shutter open|close");
    } else if (action == "ffc" || action == "restart" || action == "factory-reset" || action == "time" ||
               action == "ntp") {
        if (!want(0)) return usage("control: " + action + " takes no argument");
    } else if (action == "gear") {
        if (!want(1) || !parseInt(args[1], 0, 1000000, &level)) return usage("control: gear LEVEL (0 or more)");
    } else if (action == "gpio") {
        if (!want(2) || (args[2] != "on" && args[2] != "off")) return usage("control: gpio N|NAME on|off");
        long n;
        for (const GpioOutput &g : kGpioOutputs)
            if (args[1] == g.name) gpioBit = g.bit;
        if (!gpioBit && parseInt(args[1], 0, 4, &n)) gpioBit = 1L << n;
        if (!gpioBit) return usage("control: GPIO output 0..4 or light, ledy, ledb, alarm, buzz");
        gpioOn = args[2] == "on";
    } else {
        return usage("control: unknown action '" + action +
                     "' (shutter, ffc, restart, factory-reset, time, ntp, gear, gpio)");
    }

    Sdk sdk;
    CameraSession cam(address);
    if (const int e = openCamera(sdk, cam)) return e;

    if (action == "shutter")
        return sendCtl(cam, SARVIK_CTL_SHUTTER, args[1] == "close" ? SARVIK_SHUTTER_CLOSE : SARVIK_SHUTTER_OPEN,
                       args[1] == "close" ? "shutter close" : "shutter open");
    if (action == "ffc") return sendCtl(cam, SARVIK_CTL_FFC, 0, "ffc");
    if (action == "restart") return sendCtl(cam, SARVIK_CTL_RESTART, 0, "restart");
    if (action == "factory-reset") return sendCtl(cam, SARVIK_CTL_FACTORY_RESET, 0, "factory-reset");

    _CtlX x{};
    if (action == "time") {
        const std::time_t t = std::time(nullptr);
        std::tm utc{};
        gmtime_r(&t, &utc);
        x.command = SARVIK_CTLX_SET_TIME;
        const int words[6] = {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec};
        std::memcpy(x.data, words, sizeof words);
        if (const int e = sendCtlX(cam, &x, "set clock")) return e;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d UTC", x.data[0], x.data[1], x.data[2], x.data[3],
                      x.data[4], x.data[5]);
        message(address + ": clock set to " + buf);
        return EXIT_OK;
    }
    if (action == "ntp") {
        x.command = SARVIK_CTLX_SYNC_NTP;
        if (const int e = sendCtlX(cam, &x, "ntp sync")) return e;
        message(address + ": ntp sync requested");
        return EXIT_OK;
    }
    if (action == "gear") {
        // Only firmware with "GS" or "GW" in its version drives a lens; others never answer the request.
        const std::string sw(cam.basic().softwareId, strnlen(cam.basic().softwareId, sizeof cam.basic().softwareId));
        if (sw.find("GS") == std::string::npos && sw.find("GW") == std::string::npos) {
            message(address + ": no motorised lens (firmware " + sw + ")");
            return EXIT_FAIL;
        }
        x.command = SARVIK_CTLX_SET_GEAR;
        x.data[0] = static_cast<int32_t>(level);
        if (const int e = sendCtlX(cam, &x, "gear")) return e;
        // The answer says where the lens is: the level asked for, or where it stayed.
        if (x.data[0] != level) {
            message(address + ": gear " + std::to_string(level) + " refused, the lens stays at " +
                    std::to_string(x.data[0]));
            return EXIT_FAIL;
        }
        message(address + ": gear " + std::to_string(level));
        return EXIT_OK;
    }
    x.command = SARVIK_CTLX_SET_GPIO;
    x.data[0] = static_cast<int32_t>(gpioBit);
    x.data[1] = gpioOn ? static_cast<int32_t>(gpioBit) : 0;
    if (const int e = sendCtlX(cam, &x, "gpio")) return e;
    message(address + ": gpio " + args[1] + " " + args[2]);
    return EXIT_OK;
}

}  // namespace

void addControlCommand(CLI::App &app, int &result) {
    auto address = std::make_shared<std::string>();
    auto args = std::make_shared<std::vector<std::string>>();
    CLI::App *sub = app.add_subcommand("control", "Sends a control to the camera (shutter, ffc, restart, ...)");
    sub->footer(
        "Actions:\n"
        "  shutter open|close   close or open the shutter\n"
        "  ffc                  flat-field correction now\n"
        "  restart              restart the camera\n"
        "  factory-reset        restore factory settings at once (no question is asked)\n"
        "  time                 set the camera clock to this computer's UTC time\n"
        "  ntp                  synchronise the clock from the camera's NTP servers (CameraTimeInfo)\n"
        "  gear LEVEL           move a motorised lens to gear LEVEL (firmware with GS or GW)\n"
        "  gpio N|NAME on|off   set GPIO output 0..4 = light, ledy, ledb, alarm, buzz");
    sub->add_option("ADDRESS", *address, "camera IPv4 address")->required();
    sub->add_option("ACTION", *args, "action and its arguments")->required();
    sub->callback([&result, address, args] { result = runControl(*address, *args); });
}

}  // namespace cli
