// Writes the model of the program's "Models" folder with our own 3DS writer: a small house on a
// textured lawn, each part in a material of its own, and the lawn's picture beside it.
// Usage: make_models DIR
#include "support/model3ds_writer.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

bool WriteBytes(const QString& path, const std::vector<uint8_t>& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) ==
           qint64(bytes.size());
}

// Squares of two greens with a few lighter blades of grass.
QImage Lawn() {
    QImage image(128, 128, QImage::Format_RGB32);
    QPainter p(&image);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            p.fillRect(x * 16, y * 16, 16, 16, (x + y) % 2 ? QColor(92, 160, 70) : QColor(76, 140, 58));
    p.setPen(QColor(140, 200, 110));
    for (int i = 0; i < 64; ++i) {
        const int x = (i * 37) % 128, y = (i * 53) % 128;
        p.drawLine(x, y, x + 1, y - 3);
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 1;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path()))
        return 1;
    const std::vector<C3dsMaterialSpec> materials = {
        {"Lawn", 255, 255, 255, "lawn.png"}, {"Wall", 235, 222, 186, ""},  {"Roof", 178, 52, 40, ""},
        {"Door", 112, 72, 40, ""},           {"Glass", 120, 170, 222, ""}, {"Brick", 150, 70, 55, ""}};
    const std::vector<C3dsMeshSpec> meshes = {
        Box3ds("Lawn", -9, -8, -0.2f, 9, 8, 0, "Lawn"),
        Box3ds("Walls", -4, -3, 0, 4, 3, 5, "Wall"),
        Prism3ds("Roof", -4.6f, 4.6f, -3.6f, 3.6f, 5, 8, "Roof"),
        Box3ds("Door", -0.8f, -3.08f, 0, 0.8f, -3, 2.8f, "Door"),
        Box3ds("Window1", -3.2f, -3.08f, 2.4f, -1.8f, -3, 3.8f, "Glass"),
        Box3ds("Window2", 1.8f, -3.08f, 2.4f, 3.2f, -3, 3.8f, "Glass"),
        Box3ds("Window3", -4.08f, -0.7f, 2.4f, -4, 0.7f, 3.8f, "Glass"),
        Box3ds("Chimney", 1.8f, 0.8f, 5.5f, 2.6f, 1.6f, 8.6f, "Brick"),
    };
    if (!Lawn().save(dir.filePath(QStringLiteral("lawn.png"))))
        return 1;
    return WriteBytes(dir.filePath(QStringLiteral("小屋.3ds")), Write3ds(materials, meshes)) ? 0 : 1;
}
