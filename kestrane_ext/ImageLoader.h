// KestraneExt::ImageLoader: decodes a JPEG or PNG file (through stb_image)
// into 8-bit pixels ready for Texture: rows packed, bottom row first.
//
// Use:
//   ImageLoader image(File(path, "rb"));   reads the whole file, decodes, closes
//                                          the file
//   Texture texture(image, Mipmapped);     then the loader may go.
//   ImageLoader image(bytes, error);       decodes bytes already read; on any
//                                          thread (stb keeps its failure
//                                          reason per thread). A failure
//                                          leaves it empty (0 x 0) with
//                                          stb's reason in error.
// What a file becomes:
//   JPEG, grey or colour                       Rgb (grey expanded to R = G = B)
//   PNG colour, or palette without tRNS        Rgb
//   PNG with alpha, grey + alpha, palette
//   with transparency (tRNS)                   Rgba
//   16-bit PNG channels                        reduced to 8 bits
// An empty, short, damaged or unsupported file ends the process through the
// fatal path (Kestrane File Error) with the file's name and stb's reason.
#pragma once

#include "kestrane_ext/File.h"
#include "kestrane_ext/ImageExt.h"

#include <cstdint>
#include <string>
#include <vector>

namespace KestraneExt {

class ImageLoader : public ImageExt {
public:
    explicit ImageLoader(File file);
    ImageLoader(const std::vector<std::uint8_t>& bytes, std::string& error);

private:
    bool decode(const std::vector<std::uint8_t>& bytes, std::string& error);
};

}  // namespace KestraneExt
