// Byte-exact behaviour of the public records: a byte image as it comes from a camera, a file or a C caller
// must read back field by field (little-endian, packed, nothing in between), and a read-modify-write must
// leave every byte it does not name untouched.
#include "SarvikSDK.h"
#include "records_c.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A byte image written explicitly in little-endian order, independent of the record definitions.
class Image {
public:
    explicit Image(size_t size, uint8_t fill = 0) : bytes_(size, fill) {}

    Image& u8(size_t off, uint8_t v) { bytes_.at(off) = v; return *this; }
    Image& u16(size_t off, uint16_t v) { return put(off, v, 2); }
    Image& u32(size_t off, uint32_t v) { return put(off, v, 4); }
    Image& u64(size_t off, uint64_t v) { return put(off, v, 8); }
    Image& f32(size_t off, float v)
    {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return u32(off, bits);
    }
    Image& text(size_t off, const char* s)
    {
        std::memcpy(&bytes_.at(off), s, std::strlen(s) + 1);
        return *this;
    }

    template <class T> T as() const
    {
        EXPECT_EQ(sizeof(T), bytes_.size());
        T rec;
        std::memcpy(&rec, bytes_.data(), sizeof rec);
        return rec;
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    Image& put(size_t off, uint64_t v, size_t n)
    {
        for (size_t i = 0; i < n; ++i) bytes_.at(off + i) = static_cast<uint8_t>(v >> (8 * i));
        return *this;
    }
    std::vector<uint8_t> bytes_;
};

template <class T> std::vector<uint8_t> bytesOf(const T& rec)
{
    const auto* p = reinterpret_cast<const uint8_t*>(&rec);
    return std::vector<uint8_t>(p, p + sizeof rec);
}

// Offsets at which two byte images differ.
std::vector<size_t> changedOffsets(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    std::vector<size_t> out;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) out.push_back(i);
    return out;
}

std::vector<size_t> range(size_t first, size_t count)
{
    std::vector<size_t> out;
    for (size_t i = 0; i < count; ++i) out.push_back(first + i);
    return out;
}

// Every byte distinct from its neighbours, so a field read from the wrong offset shows.
Image patterned(size_t size)
{
    Image img(size);
    for (size_t i = 0; i < size; ++i) img.u8(i, static_cast<uint8_t>(i * 7 + 1));
    return img;
}

} // namespace

// ---- Camera records ------------------------------------------------------------------------------------

TEST(CameraRecords, BasicInfoReadsTheCameraAnswer)
{
    const auto info = Image(216)
                          .text(0, "CAM-0001")
                          .text(32, "gate north")
                          .text(64, "T384")
                          .text(80, "FPA-77")
                          .text(112, "HW-3")
                          .text(144, "R384H-GS-1.2")
                          .u16(176, 384)
                          .u16(178, 288)
                          .u16(180, 25)
                          .u16(182, 2)
                          .u16(184, 0)
                          .u8(186, 3)
                          .u8(190, 7)
                          .u16(212, 1280)
                          .u16(214, 720)
                          .as<_CameraBasicInfo>();

    EXPECT_STREQ(info.cameraId, "CAM-0001");
    EXPECT_STREQ(info.cameraName, "gate north");
    EXPECT_STREQ(info.cameraType, "T384");
    EXPECT_STREQ(info.fpaId, "FPA-77");
    EXPECT_STREQ(info.hardwareId, "HW-3");
    EXPECT_STREQ(info.softwareId, "R384H-GS-1.2");
    EXPECT_EQ(info.dataWidth, 384);
    EXPECT_EQ(info.dataHeight, 288);
    EXPECT_EQ(info.dataFps, 25);
    EXPECT_EQ(info.dataRatio, 2);
    EXPECT_EQ(info.sendRatio, 0);
    EXPECT_EQ(info.dataTransform, 3);
    EXPECT_EQ(info.desmearLevel, 7);
    EXPECT_EQ(info.videoWidth, 1280);
    EXPECT_EQ(info.videoHeight, 720);
}

TEST(CameraRecords, ReadModifyWriteTouchesOnlyTheNamedBytes)
{
    {
        const Image wire = patterned(216);
        auto info = wire.as<_CameraBasicInfo>();
        std::strcpy(info.cameraName, "x");
        info.dataRatio = 0x1234;
        const std::vector<size_t> expect = {32, 33, 182, 183};
        EXPECT_EQ(changedOffsets(wire.bytes(), bytesOf(info)), expect);
    }
    {
        const Image wire = patterned(40);
        auto tv = wire.as<_TvoutInfo>();
        tv.man_temp0 = -123; // -12.34 deg C as the tools store it
        tv.ct_color1 = 0xFF00FF00u;
        auto expect = range(20, 2);
        auto colour = range(36, 4);
        expect.insert(expect.end(), colour.begin(), colour.end());
        EXPECT_EQ(changedOffsets(wire.bytes(), bytesOf(tv)), expect);
        const auto out = bytesOf(tv);
        EXPECT_EQ(out[20], 0x85);
        EXPECT_EQ(out[21], 0xFF);
    }
    {
        const Image wire = patterned(52);
        auto net = wire.as<_CameraNetworkInfo>();
        net.staticIp = 0xC0A801C9u; // 192.168.1.201: first octet most significant
        net.mtu = 1500;
        auto expect = range(4, 4);
        expect.push_back(26);
        expect.push_back(27);
        EXPECT_EQ(changedOffsets(wire.bytes(), bytesOf(net)), expect);
        EXPECT_EQ(bytesOf(net)[4], 0xC9);
        EXPECT_EQ(bytesOf(net)[7], 0xC0);
    }
}

TEST(CameraRecords, DiscoveryAnswerCarriesAddressAfterBasicInfo)
{
    const auto msg = Image(224)
                         .u16(0, SARVIK_MSG_DISCOVER_ANSWER)
                         .u16(2, 224)
                         .text(4, "CAM-0002")
                         .text(4 + 144, "R640H")
                         .u32(4 + 216, 0xC0A80107u)
                         .as<_DiscoverCameraMsg>();
    EXPECT_EQ(msg.header.type, 1);
    EXPECT_EQ(msg.header.length, 224);
    EXPECT_STREQ(msg.resp.basicInfo.cameraId, "CAM-0002");
    EXPECT_STREQ(msg.resp.basicInfo.softwareId, "R640H");
    EXPECT_EQ(msg.resp.cameraIp, 0xC0A80107u);
}

// ---- Control ------------------------------------------------------------------------------------------

TEST(Control, TimeSetMessageBuiltInCIsTheWireImage)
{
    uint8_t msg[72];
    std::memset(msg, 0xAA, sizeof msg);
    rc_time_set_message(msg, 2024, 5, 1, 23, 59, 58);

    Image expect(72);
    expect.u16(0, 56).u16(2, 72).u32(4, 1);
    const uint32_t words[6] = {2024, 5, 1, 23, 59, 58};
    for (int i = 0; i < 6; ++i) expect.u32(8 + 4 * i, words[i]);
    EXPECT_EQ(std::vector<uint8_t>(msg, msg + 72), expect.bytes());
}

TEST(Control, ExtendedControlAnswerDecodesSignedWords)
{
    Image answer(68);
    answer.u32(0, SARVIK_CTLX_SET_GPIO).u32(4, SARVIK_GPIO_OUT_ALARM | SARVIK_GPIO_OUT_BUZZ).u32(8, 0xFFFFFFF8u);
    answer.u32(64, 0x80000000u);
    const auto ctl = answer.as<_CtlX>();
    EXPECT_EQ(ctl.command, 128);
    EXPECT_EQ(ctl.data[0], 24);
    EXPECT_EQ(ctl.data[1], -8);
    EXPECT_EQ(ctl.data[15], INT32_MIN);

    const auto shutter = Image(10).u16(0, SARVIK_CTL_SHUTTER).u8(2, SARVIK_SHUTTER_CLOSE).u8(9, 0x5A).as<_Ctl>();
    EXPECT_EQ(shutter.command, 2);
    EXPECT_EQ(shutter.param[0], 1);
    EXPECT_EQ(shutter.param[7], 0x5A);
}

// ---- Frames ------------------------------------------------------------------------------------------

TEST(Frames, HeaderReadsTheCameraHeader)
{
    const auto h = Image(128, 0xEE)
                       .u16(0, 384)
                       .u16(2, 288)
                       .u32(4, 0)
                       .u8(8, SARVIK_DATA_KIND_TEMPERATURE)
                       .u16(12, 100)
                       .u16(14, static_cast<uint16_t>(-273))
                       .u32(16, 35123)
                       .u32(20, static_cast<uint32_t>(-5000))
                       .u8(25, 0x05)
                       .u64(32, 0x01D9A1B2C3D4E5F6ull)
                       .u32(40, 41250)
                       .f32(48, 45.5f)
                       .f32(52, 12.25f)
                       .as<_DataFrameHeader>();
    EXPECT_EQ(h.width, 384);
    EXPECT_EQ(h.height, 288);
    EXPECT_EQ(h.encodedLength, 0);
    EXPECT_EQ(h.dataKind, 2);
    EXPECT_EQ(h.slope, 100);
    EXPECT_EQ(h.offset, -273);
    EXPECT_EQ(h.fpaTemp, 35123);
    EXPECT_EQ(h.shellTemp, -5000);
    EXPECT_EQ(h.gpioInput, 5);
    EXPECT_EQ(h.timestamp, 0x01D9A1B2C3D4E5F6ll);
    EXPECT_EQ(h.shellTempHW, 41250);
    EXPECT_FLOAT_EQ(h.netd, 45.5f);
    EXPECT_FLOAT_EQ(h.sstd, 12.25f);
    EXPECT_EQ(h.reserved_24, 0xEE);
    EXPECT_EQ(h.reserved_56[0], 0xEE);
    EXPECT_EQ(h.reserved_56[71], 0xEE);
}

TEST(Frames, GlobalResultSitsAtOffset16OfTheExtraBlock)
{
    std::vector<uint8_t> extra(SARVIK_FRAME_EXTRA_SIZE, 0);
    Image result(20);
    result.f32(0, 36.5f).f32(4, -4.25f).f32(8, 21.0f).u16(12, 100).u16(14, 200).u16(16, 3).u16(18, 4);
    std::memcpy(extra.data() + 16, result.bytes().data(), 20);

    _DataFrameResult r;
    std::memcpy(&r, extra.data() + SARVIK_FRAME_RESULT_OFFSET, sizeof r);
    EXPECT_FLOAT_EQ(r.maxTemp, 36.5f);
    EXPECT_FLOAT_EQ(r.minTemp, -4.25f);
    EXPECT_FLOAT_EQ(r.avgTemp, 21.0f);
    EXPECT_EQ(r.maxX, 100);
    EXPECT_EQ(r.maxY, 200);
    EXPECT_EQ(r.minX, 3);
    EXPECT_EQ(r.minY, 4);
}

// ---- Image settings ------------------------------------------------------------------------------------

TEST(ImageSettings, StrechControlFromCMatchesTheByteImage)
{
    _strech_control ctl;
    rc_strech_all(&ctl);

    Image expect(32);
    expect.u32(0, 2009).u8(4, 2).u8(5, 50).u8(6, 50).u8(7, 0).f32(8, 2.0f);
    expect.u16(12, static_cast<uint16_t>(-123)).u16(14, 400).u8(16, 1).u8(17, 20).u8(18, 8).u8(19, 4);
    expect.u16(20, 300).u16(22, static_cast<uint16_t>(-50)).u32(24, 0xFF00FFFFu).u32(28, 0xFFFF0000u);
    EXPECT_EQ(bytesOf(ctl), expect.bytes());

    // Playback's 50s in bytes 5 and 6 must not reach the neighbouring fields.
    EXPECT_EQ(ctl.strechType, 2);
    EXPECT_EQ(ctl.smoothing, 0);
    EXPECT_EQ(SARVIK_STRECH_ALL & SARVIK_STRECH_SMOOTHING, 0);
}

// ---- Preview -----------------------------------------------------------------------------------------

namespace {
struct Delivery {
    int calls = 0;
    int status = 1;
    _DataFrame* frame = nullptr;
};

void onFrame(int status, _DataFrame* frame, void* user)
{
    auto* d = static_cast<Delivery*>(user);
    ++d->calls;
    d->status = status;
    d->frame = frame;
}
} // namespace

TEST(Preview, ParamFromCCarriesCallbackAndUserValue)
{
    Delivery delivery;
    PreviewParam param;
    rc_preview_param(&param, &onFrame, &delivery);

    const auto bytes = bytesOf(param);
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[1], 1);
    void* display = reinterpret_cast<void*>(1);
    void* user = nullptr;
    PreviewFrameCallback callback = nullptr;
    std::memcpy(&display, &bytes[8], 8);
    std::memcpy(&callback, &bytes[16], 8);
    std::memcpy(&user, &bytes[24], 8);
    EXPECT_EQ(display, nullptr);
    EXPECT_EQ(callback, &onFrame);
    EXPECT_EQ(user, &delivery);
    EXPECT_EQ(bytes[32], 0xEF);
    EXPECT_EQ(bytes[33], 0xBE);

    // A copy of the record (as the preview slot keeps one) still reaches the caller.
    PreviewParam copy;
    std::memcpy(&copy, bytes.data(), sizeof copy);
    _DataFrameHeader header{};
    _DataFrame frame{&header, nullptr, nullptr, nullptr, nullptr, nullptr};
    rc_deliver(&copy, 0, &frame);
    rc_deliver(&copy, SARVIK_STATUS_CONNECTION_LOST, nullptr);
    EXPECT_EQ(delivery.calls, 2);
    EXPECT_EQ(delivery.status, -17);
    EXPECT_EQ(delivery.frame, nullptr);
}

// ---- Files ----------------------------------------------------------------------------------------------

TEST(Files, TemperatureTailFindsItsPartsFromBothEnds)
{
    const uint16_t w = 80, h = 60;
    const size_t n = size_t(w) * h;
    Image tail(2 * n + SARVIK_TEMP_TAIL_FIXED);
    tail.u32(0, static_cast<uint32_t>(2 * n + 16672)).text(4, "teMp");
    tail.text(8, "CAM-0003").u16(8 + 40, w).u16(8 + 42, h).f32(8 + 44 + 24, 0.97f);
    tail.u16(16520, w).u16(16522, h).u16(16520 + 12, 10);
    tail.u16(16648, static_cast<uint16_t>(-1)).u16(16648 + 2 * n - 2, 0x7FFF);
    tail.u16(2 * n + 16648, w).u16(2 * n + 16650, h).u32(2 * n + 16652, SARVIK_TEMP_TAIL_MARK);

    const auto* bytes = tail.bytes().data();
    TempTailHead head;
    std::memcpy(&head, bytes, sizeof head);
    EXPECT_EQ(std::memcmp(head.magic, "teMp", 4), 0);
    EXPECT_EQ(head.length, static_cast<int32_t>(tail.bytes().size() - 12));
    EXPECT_STREQ(head.info.cameraId, "CAM-0003");
    EXPECT_EQ(head.info.width, w);
    EXPECT_FLOAT_EQ(head.info.fixInfo.globalEmissivity, 0.97f);
    EXPECT_EQ(head.header.slope, 10);

    int16_t first, last;
    std::memcpy(&first, bytes + sizeof head, 2);
    std::memcpy(&last, bytes + sizeof head + 2 * n - 2, 2);
    EXPECT_EQ(first, -1);
    EXPECT_EQ(last, 0x7FFF);

    TempTailEnd end;
    std::memcpy(&end, bytes + tail.bytes().size() - sizeof end, sizeof end);
    EXPECT_EQ(end.width, w);
    EXPECT_EQ(end.height, h);
    EXPECT_EQ(end.mark, 20160901u);
}
