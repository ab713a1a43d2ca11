// Writes the window icon's pictures as C++ source for window_icon_pixels.h.
// Run by the build: window_icon_generator OUTPUT.cpp PICTURE.png...
// Each PNG is one square size of the icon, smallest first.

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

// One array of pixels, 8 values to a line.
void WriteArray(std::ofstream& out, const QImage& image) {
    out << "constexpr std::uint32_t Pixels" << image.width() << "[] = {\n";
    const int count = image.width() * image.height();
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(image.constBits());
    std::array<char, 16> value{};
    for (int i = 0; i < count; ++i) {
        std::snprintf(value.data(), value.size(), "0x%08x,", pixels[i]);
        out << (i % 8 == 0 ? "    " : " ") << value.data() << (i % 8 == 7 ? "\n" : "");
    }
    out << "};\n\n";
}

} // namespace

int main(int argumentCount, char* arguments[]) {
    if (argumentCount < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp PICTURE.png...\n", arguments[0]);
        return EXIT_FAILURE;
    }
    std::vector<int> sizes;
    std::ofstream out(arguments[1]);
    out << "// Written by the build from the program's icon (window_icon_generator.cpp).\n"
           "#include \"runtime/qt/window_icon_pixels.h\"\n\nnamespace {\n\n";
    for (int i = 2; i < argumentCount; ++i) {
        // An image that is not square has no place among the sizes.
        const QImage image = QImage(QString::fromLocal8Bit(arguments[i]), "PNG")
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.isNull() || image.width() != image.height()) {
            std::fprintf(stderr, "%s: not a square PNG picture\n", arguments[i]);
            return EXIT_FAILURE;
        }
        // The image's lines are whole 32-bit pixels, so they follow one another.
        WriteArray(out, image);
        sizes.push_back(image.width());
    }
    out << "constexpr WindowIconPicture Pictures[] = {\n";
    for (const int size : sizes)
        out << "    {" << size << ", Pixels" << size << "},\n";
    out << "};\n\n} // namespace\n\n"
           "std::span<const WindowIconPicture> WindowIconPictures() { return Pictures; }\n";
    out.close();
    return out ? EXIT_SUCCESS : EXIT_FAILURE;
}
