// JPEG through libjpeg; its fatal errors return here by longjmp, so a broken
// file only fails the load.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "platform/base/atomic_file.h"
#include "platform/ui/imagefile.h"

namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

void Fail(j_common_ptr info) { longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1); }
void Quiet(j_common_ptr, int) {}

// Each step runs outside any object with a destructor, which longjmp
// would skip, and sets its own return point: longjmp may only go to a
// function still running.
bool ReadHeader(const std::vector<uint8_t>& data, jpeg_decompress_struct& info, ErrorTrap& trap) {
    if (setjmp(trap.jump))
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    return jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK;
}

bool DecodeInto(jpeg_decompress_struct& info, ErrorTrap& trap, Surface& out, std::vector<JSAMPLE>& row) {
    if (setjmp(trap.jump))
        return false;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3)
        return false;
    out = Surface(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    row.resize(static_cast<size_t>(info.output_width) * 3);
    while (info.output_scanline < info.output_height) {
        int y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        if (jpeg_read_scanlines(&info, rows, 1) != 1)
            return false;
        Pixel* dst = out.Row(y);
        for (int x = 0; x < out.Width(); ++x)
            dst[x] = 0xFF000000u | (row[3 * x] << 16) | (row[3 * x + 1] << 8) | row[3 * x + 2];
    }
    jpeg_finish_decompress(&info);
    return true;
}

// Errors return to the step running; nothing is printed.
template <class Info>
void TrapErrors(Info& info, ErrorTrap& trap) {
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = Fail;
    trap.manager.emit_message = Quiet;
}

// libjpeg allocates the encoded bytes in `buffer`; the caller frees them.
bool EncodeInto(const Surface& surface, unsigned char*& buffer, unsigned long& size, int quality,
                jpeg_compress_struct& info, ErrorTrap& trap, std::vector<JSAMPLE>& row) {
    if (setjmp(trap.jump))
        return false;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(surface.Width());
    info.image_height = static_cast<JDIMENSION>(surface.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const Pixel* src = surface.Row(static_cast<int>(info.next_scanline));
        for (int x = 0; x < surface.Width(); ++x) {
            row[3 * x] = static_cast<JSAMPLE>(src[x] >> 16);
            row[3 * x + 1] = static_cast<JSAMPLE>(src[x] >> 8);
            row[3 * x + 2] = static_cast<JSAMPLE>(src[x]);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

}  // namespace

namespace {

// Reads the header of `data`, runs `then` on the decompressor when it is
// read, and destroys the decompressor.
template <class Then>
bool AfterHeader(const std::vector<uint8_t>& data, Then then) {
    if (data.empty())
        return false;
    jpeg_decompress_struct info{};
    ErrorTrap trap{};
    TrapErrors(info, trap);
    const bool ok = ReadHeader(data, info, trap) && then(info, trap);
    jpeg_destroy_decompress(&info);
    return ok;
}

}  // namespace

bool JpegSize(const std::vector<uint8_t>& data, ImageSize& size) {
    return AfterHeader(data, [&size](const jpeg_decompress_struct& info, ErrorTrap&) {
        size = {info.image_width, info.image_height};
        return true;
    });
}

bool DecodeJpeg(const std::vector<uint8_t>& data, Surface& out) {
    Surface decoded;
    std::vector<JSAMPLE> row;
    const bool ok = AfterHeader(data, [&](jpeg_decompress_struct& info, ErrorTrap& trap) {
        return IsImageSizeTaken({info.image_width, info.image_height}) && DecodeInto(info, trap, decoded, row);
    });
    if (ok)
        out = std::move(decoded);
    return ok;
}

bool WriteJpeg(const Surface& surface, const std::string& hostPath, int quality) {
    if (surface.IsEmpty())
        return false;
    jpeg_compress_struct info{};
    ErrorTrap trap{};
    TrapErrors(info, trap);
    std::vector<JSAMPLE> row(static_cast<size_t>(surface.Width()) * 3);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    bool ok = EncodeInto(surface, buffer, size, std::clamp(quality, 1, 100), info, trap, row);
    jpeg_destroy_compress(&info);
    ok = ok && ReplaceHostFile(hostPath, buffer, size);
    std::free(buffer);
    return ok;
}
