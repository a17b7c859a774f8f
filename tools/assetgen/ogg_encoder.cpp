#include "tools/assetgen/ogg_encoder.h"

#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

namespace assetgen {

namespace {

void AppendPage(std::vector<std::uint8_t>* out, const ogg_page& page) {
    out->insert(out->end(), page.header, page.header + page.header_len);
    out->insert(out->end(), page.body, page.body + page.body_len);
}

// Reading from memory for libvorbisfile.
struct MemoryReader {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

std::size_t ReadMemory(void* destination, std::size_t size, std::size_t count, void* source) {
    auto* reader = static_cast<MemoryReader*>(source);
    const std::size_t want = size * count;
    const std::size_t got = std::min(want, reader->bytes.size() - reader->at);
    std::memcpy(destination, reader->bytes.data() + reader->at, got);
    reader->at += got;
    return size == 0 ? 0 : got / size;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
    auto* reader = static_cast<MemoryReader*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(reader->at);
    if (whence == SEEK_END) base = static_cast<ogg_int64_t>(reader->bytes.size());
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(reader->bytes.size())) return -1;
    reader->at = static_cast<std::size_t>(target);
    return 0;
}

long TellMemory(void* source) { return static_cast<long>(static_cast<MemoryReader*>(source)->at); }

}  // namespace

std::vector<std::uint8_t> EncodeOggVorbis(std::span<const float> interleavedStereo, int rate, float quality) {
    std::vector<std::uint8_t> out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, rate, quality) != 0) {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "Starwake");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    // A fixed serial number: the same music always gives the same file.
    ogg_stream_init(&stream, 0x53574B45);
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) AppendPage(&out, page);

    const std::size_t frames = interleavedStereo.size() / 2;
    constexpr std::size_t kChunk = 4096;
    std::size_t done = 0;
    bool finished = false;
    while (!finished) {
        const std::size_t count = std::min(kChunk, frames - done);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (std::size_t i = 0; i < count; ++i) {
                buffer[0][i] = interleavedStereo[2 * (done + i)];
                buffer[1][i] = interleavedStereo[2 * (done + i) + 1];
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            done += count;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    AppendPage(&out, page);
                    if (ogg_page_eos(&page)) finished = true;
                }
            }
        }
        if (count == 0) finished = true;
    }
    while (ogg_stream_flush(&stream, &page) != 0) AppendPage(&out, page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::optional<DecodedOgg> DecodeOggVorbis(std::span<const std::uint8_t> bytes, std::string* error) {
    MemoryReader reader{bytes, 0};
    OggVorbis_File file;
    const ov_callbacks callbacks = {ReadMemory, SeekMemory, nullptr, TellMemory};
    if (ov_open_callbacks(&reader, &file, nullptr, 0, callbacks) != 0) {
        if (error) *error = "not an Ogg Vorbis stream";
        return std::nullopt;
    }
    DecodedOgg decoded;
    const vorbis_info* info = ov_info(&file, -1);
    decoded.rate = static_cast<int>(info->rate);
    decoded.channels = info->channels;
    decoded.frames = ov_pcm_total(&file, -1);
    constexpr std::size_t kEdge = 2048;
    while (true) {
        float** pcm = nullptr;
        int section = 0;
        const long got = ov_read_float(&file, &pcm, 4096, &section);
        if (got < 0) {
            if (error) *error = "damaged Ogg Vorbis data";
            ov_clear(&file);
            return std::nullopt;
        }
        if (got == 0) break;
        for (long i = 0; i < got; ++i) {
            if (decoded.firstFrames.size() < kEdge) decoded.firstFrames.push_back(pcm[0][i]);
            decoded.lastFrames.push_back(pcm[0][i]);
        }
        if (decoded.lastFrames.size() > 4 * kEdge) {
            decoded.lastFrames.erase(decoded.lastFrames.begin(), decoded.lastFrames.end() - kEdge);
        }
        decoded.framesDecoded += got;
    }
    if (decoded.lastFrames.size() > kEdge) {
        decoded.lastFrames.erase(decoded.lastFrames.begin(), decoded.lastFrames.end() - kEdge);
    }
    ov_clear(&file);
    return decoded;
}

}  // namespace assetgen
