// FrameScanner throughput on the download's sample stream, delivered in the
// 64-byte reads the serial port makes. The line itself brings 960 bytes/s.
#include "device/frame_scanner.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "device/device_frame.h"

namespace {

std::vector<uint8_t> SampleStream(int samples) {
    std::vector<uint8_t> stream;
    for (int32_t i = 0; i < samples; ++i) {
        std::vector<uint8_t> data(28, 0);
        orb::StoreLE<int32_t>(data, 0, i);
        orb::StoreLE<int16_t>(data, 4, static_cast<int16_t>(215 + i % 50));
        for (int k = 0; k < 6; ++k)
            orb::StoreLE<int16_t>(data, 6 + 2 * k, static_cast<int16_t>(4500 - 37 * k + i % 11));
        const auto f = orb::BuildReplyFrame(0x03, data);
        stream.insert(stream.end(), f.begin(), f.end());
    }
    return stream;
}

// Feeds `stream` in reads of at most `readSize` bytes (and the free space),
// scanning after each, as the receive notification does.
void Feed(benchmark::State& state, const std::vector<uint8_t>& stream, std::size_t readSize) {
    std::size_t frames = 0;
    orb::FrameScanner scanner([&](std::span<const uint8_t> f) { frames += f.size() > 0; });
    orb::ReceiveBuffer buf;
    for (auto _ : state) {
        for (std::size_t pos = 0; pos < stream.size();) {
            const std::size_t n = std::min({readSize, stream.size() - pos, buf.FreeSpace()});
            buf.Append(std::span(stream).subspan(pos, n));
            pos += n;
            scanner.Scan(buf);
        }
        benchmark::DoNotOptimize(frames);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}

void BM_SampleStream64ByteReads(benchmark::State& state) {
    static const std::vector<uint8_t> stream = SampleStream(1000);
    Feed(state, stream, 64);
}
BENCHMARK(BM_SampleStream64ByteReads);

// Worst case: bytes that never form a frame, with a header that waits for
// 255 data bytes at the front, so every pass walks the whole buffer.
void BM_NoFrames64ByteReads(benchmark::State& state) {
    static const std::vector<uint8_t> stream = [] {
        std::vector<uint8_t> s;
        for (int block = 0; block < 40; ++block) {
            const uint8_t header[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xC6, 0x01, 0x03, 0xFF};
            s.insert(s.end(), std::begin(header), std::end(header));
            for (int i = 0; i < 992; ++i) s.push_back(static_cast<uint8_t>(i % 2 ? 0xFF : 0x00));
        }
        return s;
    }();
    Feed(state, stream, 64);
}
BENCHMARK(BM_NoFrames64ByteReads);

}  // namespace

BENCHMARK_MAIN();
