// Renders the program's SVG icon into a square PNG of the given size, so the
// hicolor theme gets bitmap sizes that always match the vector drawing.
//
//   vorla_render_icon <icon.svg> <size> <out.png>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <icon.svg> <size> <out.png>\n", argv[0]);
        return EXIT_FAILURE;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: cannot read the SVG drawing\n", argv[1]);
        return EXIT_FAILURE;
    }
    const int size = std::atoi(argv[2]);
    if (size <= 0) {
        std::fprintf(stderr, "%s: not a size in pixels\n", argv[2]);
        return EXIT_FAILURE;
    }
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write the PNG\n", argv[3]);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
