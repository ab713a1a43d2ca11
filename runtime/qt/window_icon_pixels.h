#pragma once

#include <cstdint>
#include <span>

// One size of the window icon: size x size premultiplied ARGB pixels, one
// 0xAARRGGBB value each, row after row from the top.
struct WindowIconPicture {
    int size;
    const std::uint32_t* pixels;
};

// The window icon at each of its sizes, smallest first. The build renders
// them from the program's SVG picture and writes them out as pixels
// (window_icon_generator.cpp), so showing them decodes no file: reading any
// image file would have the toolkit load every image format plug-in, its SVG
// plug-in and SVG library among them, to ask whether it reads the file.
std::span<const WindowIconPicture> WindowIconPictures();
