// UDP fragment trains from the network: the train check and the frame check, on datagrams laid out in a
// receive area exactly as the receiver keeps them. Two shapes of input: free-form datagrams, and a frame
// cut into fragments with flags and numbers perturbed, so the frame check is reached often.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "data_frame.h"
#include "frame_recver_udp.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr size_t kMaxDatagrams = 8;

struct Reader {
    const uint8_t *p;
    size_t n;
    uint8_t byte() { return n ? (--n, *p++) : 0; }
    Bytes take(size_t k) {
        k = k < n ? k : n;
        Bytes b(p, p + k);
        p += k;
        n -= k;
        return b;
    }
};

Bytes datagram(uint16_t number, uint16_t flags, const Bytes &payload) {
    UdpFragmentHeader h{};
    h.fragment = number;
    h.flags = flags;
    h.payloadLength = static_cast<uint16_t>(payload.size());
    Bytes d(sizeof h);
    std::memcpy(d.data(), &h, sizeof h);
    d.insert(d.end(), payload.begin(), payload.end());
    return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Reader in{data, size};
    const uint8_t mode = in.byte();
    const uint16_t w = static_cast<uint16_t>(1 + in.byte() % 48);
    const uint16_t h = static_cast<uint16_t>(1 + in.byte() % 32);
    const size_t maxFrame = 2 * static_cast<size_t>(w) * h + sarvik::kFrameHeaderSize;

    std::vector<Bytes> grams;
    if (mode & 1) {
        // A frame: header with our dimensions (unless told otherwise), then the rest of the input.
        const uint8_t perturb = in.byte();
        const uint8_t chunk = in.byte();
        Bytes frame = in.take(in.n);
        if (frame.size() >= 4 && !(perturb & 1)) {
            std::memcpy(frame.data(), &w, 2);
            std::memcpy(frame.data() + 2, &h, 2);
        }
        const size_t step = 1 + static_cast<size_t>(chunk) * 16;
        uint16_t number = static_cast<uint16_t>(perturb << 8 | chunk);
        for (size_t off = 0; off < frame.size() && grams.size() < kMaxDatagrams; off += step) {
            const size_t k = frame.size() - off < step ? frame.size() - off : step;
            uint16_t flags = 0;
            if (off == 0 && !(perturb & 2)) flags |= SARVIK_UDP_FIRST;
            if (off + k == frame.size() && !(perturb & 4)) flags |= SARVIK_UDP_LAST;
            if (perturb & 8 && grams.size() == 1) ++number;  // a gap
            grams.push_back(datagram(number++, flags, Bytes(frame.begin() + off, frame.begin() + off + k)));
        }
    } else {
        while (in.n && grams.size() < kMaxDatagrams) {
            const size_t len = static_cast<size_t>(in.byte()) << 8 | in.byte();
            grams.push_back(in.take(len));
        }
    }
    if (grams.empty()) return 0;

    // The area is allocated to the byte, so ASan sees a read past the last datagram.
    std::vector<uint8_t> area((grams.size() - 1) * sarvik::kUdpDatagramMax + grams.back().size());
    std::vector<int> sizes;
    for (size_t i = 0; i < grams.size(); ++i) {
        std::memcpy(area.data() + i * sarvik::kUdpDatagramMax, grams[i].data(), grams[i].size());
        sizes.push_back(static_cast<int>(grams[i].size()));
    }
    std::vector<uint8_t> out(maxFrame);
    const int total = sarvik::udp_train_check(area.data(), sizes.data(), static_cast<int>(sizes.size()), maxFrame,
                                              out.data(), out.size());
    if (total < 0) {
        if (total != -11 && total != -8) __builtin_trap();
        return 0;
    }
    if (static_cast<size_t>(total) > maxFrame) __builtin_trap();

    _DataFrame slot;
    if (sarvik::data_frame_alloc(&slot, w, h) != 0) return 0;
    const std::vector<uint8_t> frame(out.begin(), out.begin() + total);  // the frame check sees only these
    const int ret = sarvik::udp_frame_check(frame.data(), frame.size(), w, h, &slot);
    if (ret != 0 && ret != -11) __builtin_trap();
    if (ret == 0 && (slot.header->width != w || slot.header->height != h || slot.header->encodedLength != 0))
        __builtin_trap();
    sarvik::data_frame_free(&slot);
    return 0;
}
