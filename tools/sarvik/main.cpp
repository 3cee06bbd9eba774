// sarvik: everything the desktop tool does to cameras and recordings, from a shell.
#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdio>

#include "SarvikSDK.h"
#include "cli_common.h"
#include "commands.h"

int main(int argc, char **argv) {
    CLI::App app{"sarvik: the thermal cameras and their recordings from the command line"};
    app.name("sarvik");
    app.require_subcommand(1);
    app.footer(
        "Exit codes: 0 success; 1 failure; 2 usage; 3 input file missing, foreign or cut short; 4 some\n"
        "cameras of a batch failed; 101..200 the SDK's status -1..-100 (100 - status); 201..207 the SDK's\n"
        "file statuses -200..-194 (-200 -> 201, -194 -> 207).");
    int result = cli::EXIT_OK;
    cli::addCameraCommands(app, result);
    cli::addBatchCommand(app, result);
    cli::addExportCommand(app, result);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp &e) {
        return app.exit(e);
    } catch (const CLI::ParseError &e) {
        // One line, naming what was wrong; --help shows the rest.
        std::fprintf(stderr, "sarvik: %s (see --help)\n", e.what());
        return cli::EXIT_USAGE;
    }
    return result;
}
