// Draws the fifteen installation texture images (Img1.jpg .. Img15.jpg): wood, marble, checks, bricks
// and other plain patterns, all computed here, tileable so that repeated textures show no seams.
// Usage: halvix_make_textures <output folder>
#include <QCoreApplication>
#include <QDir>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {
constexpr int kSize = 256;

struct Rgb {
    double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb a, double s) {
    return {a.r * s, a.g * s, a.b * s};
}

// A fixed integer hash: the same images on every build.
double Hash(int x, int y, int seed) {
    unsigned h = unsigned(x) * 374761393u + unsigned(y) * 668265263u + unsigned(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h & 0xFFFFFF) / double(0xFFFFFF);
}

double Smooth(double t) {
    return t * t * (3.0 - 2.0 * t);
}

// Value noise on a lattice of `cells` per image side, wrapping at the image edges.
double Noise(double u, double v, int cells, int seed) {
    double x = u * cells, y = v * cells;
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    double fx = Smooth(x - x0), fy = Smooth(y - y0);
    auto at = [&](int i, int j) {
        return Hash(((i % cells) + cells) % cells, ((j % cells) + cells) % cells, seed);
    };
    double a = at(x0, y0), b = at(x0 + 1, y0), c = at(x0, y0 + 1), d = at(x0 + 1, y0 + 1);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

double Turbulence(double u, double v, int seed) {
    double sum = 0, amp = 0.5;
    for (int cells = 4; cells <= 64; cells *= 2, amp *= 0.5)
        sum += amp * Noise(u, v, cells, seed);
    return sum;
}

using Pattern = std::function<Rgb(double u, double v)>;

Rgb Wood(double u, double v) {
    double d = std::hypot(u - 0.5, (v - 0.5) * 0.25) * 24.0 + 3.0 * Turbulence(u, v, 1);
    double ring = 0.5 + 0.5 * std::sin(d * 2.0 * M_PI);
    Rgb light{0.80, 0.58, 0.34}, dark{0.52, 0.32, 0.16};
    return Mix(light, dark, std::pow(ring, 3.0) + 0.15 * Noise(u, v, 64, 2));
}

Rgb Marble(double u, double v) {
    double t = std::sin((u + v) * 4.0 * M_PI + 8.0 * Turbulence(u, v, 3));
    double vein = std::pow(1.0 - std::abs(t), 6.0);
    Rgb base = Mix({0.93, 0.93, 0.91}, {0.82, 0.83, 0.85}, Noise(u, v, 8, 4));
    return Mix(base, {0.38, 0.40, 0.44}, vein);
}

Rgb Checks(double u, double v) {
    bool odd = (int(u * 8) + int(v * 8)) % 2 != 0;
    return odd ? Rgb{0.15, 0.20, 0.45} : Rgb{0.92, 0.90, 0.82};
}

Rgb Bricks(double u, double v) {
    double row = v * 8.0;
    int r = int(row);
    double col = u * 4.0 + (r % 2 ? 0.5 : 0.0);
    double fx = col - std::floor(col), fy = row - r;
    bool mortar = fx < 0.04 || fy < 0.08;
    if (mortar)
        return Mix({0.78, 0.76, 0.72}, {0.65, 0.63, 0.60}, Noise(u, v, 32, 5));
    int id = int(std::floor(col)) + 7 * r;
    Rgb brick = Mix({0.62, 0.22, 0.14}, {0.75, 0.35, 0.22}, Hash(id, r, 6));
    return Scale(brick, 0.85 + 0.3 * Noise(u, v, 64, 7));
}

Rgb Stripes(double u, double v) {
    int band = int((u + v) * 8.0) % 4;
    const Rgb colors[4] = {{0.95, 0.78, 0.25}, {0.25, 0.55, 0.80}, {0.92, 0.92, 0.92}, {0.35, 0.65, 0.40}};
    return colors[band];
}

Rgb Dots(double u, double v) {
    double fx = u * 8.0 - std::floor(u * 8.0) - 0.5, fy = v * 8.0 - std::floor(v * 8.0) - 0.5;
    double d = std::hypot(fx, fy);
    return Mix({0.85, 0.20, 0.30}, {0.98, 0.95, 0.88}, (d - 0.28) * 20.0);
}

Rgb GraphPaper(double u, double v) {
    auto line = [](double t, double n, double w) {
        double f = t * n - std::floor(t * n);
        return f < w || f > 1.0 - w;
    };
    if (line(u, 4, 0.012) || line(v, 4, 0.012))
        return {0.30, 0.50, 0.80};
    if (line(u, 16, 0.07) || line(v, 16, 0.07))
        return {0.70, 0.80, 0.95};
    return {0.99, 0.99, 0.97};
}

Rgb Sky(double u, double v) {
    Rgb sky = Mix({0.35, 0.60, 0.92}, {0.70, 0.85, 1.0}, v);
    double cloud = std::clamp((Turbulence(u, v, 8) - 0.45) * 3.0, 0.0, 1.0);
    return Mix(sky, {1.0, 1.0, 1.0}, cloud);
}

Rgb Granite(double u, double v) {
    double n = Noise(u, v, 128, 9), speck = Hash(int(u * kSize), int(v * kSize), 10);
    Rgb base = Mix({0.45, 0.42, 0.42}, {0.70, 0.66, 0.64}, n);
    if (speck > 0.93)
        return {0.12, 0.11, 0.12};
    if (speck < 0.05)
        return {0.90, 0.86, 0.84};
    return base;
}

Rgb Water(double u, double v) {
    double w = std::sin((u * 6.0 + 1.5 * Turbulence(u, v, 11)) * 2.0 * M_PI) *
               std::sin((v * 4.0 + Turbulence(v, u, 12)) * 2.0 * M_PI);
    return Mix({0.05, 0.30, 0.55}, {0.45, 0.75, 0.90}, 0.5 + 0.5 * w);
}

Rgb Weave(double u, double v) {
    int cx = int(u * 16), cy = int(v * 16);
    double fx = u * 16 - cx, fy = v * 16 - cy;
    bool warp = (cx + cy) % 2 == 0;
    double shade = warp ? std::sin(fx * M_PI) : std::sin(fy * M_PI);
    Rgb thread = warp ? Rgb{0.55, 0.20, 0.25} : Rgb{0.85, 0.75, 0.55};
    return Scale(thread, 0.65 + 0.35 * shade);
}

Rgb Argyle(double u, double v) {
    double a = std::abs(u * 4.0 - std::floor(u * 4.0) - 0.5) + std::abs(v * 4.0 - std::floor(v * 4.0) - 0.5);
    bool inside = a < 0.5;
    bool alt = (int(u * 4.0) + int(v * 4.0)) % 2 == 0;
    if (inside)
        return alt ? Rgb{0.20, 0.45, 0.35} : Rgb{0.60, 0.15, 0.20};
    return {0.88, 0.86, 0.78};
}

Rgb Terrazzo(double u, double v) {
    int cx = int(u * 24), cy = int(v * 24);
    double best = 1e9;
    int id = 0;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
            int gx = cx + i, gy = cy + j;
            int wx = (gx % 24 + 24) % 24, wy = (gy % 24 + 24) % 24;
            double px = (gx + Hash(wx, wy, 13)) / 24.0, py = (gy + Hash(wx, wy, 14)) / 24.0;
            double d = std::hypot(u - px, v - py);
            if (d < best) {
                best = d;
                id = wx * 31 + wy;
            }
        }
    if (best < 0.012 + 0.01 * Hash(id, 1, 15)) {
        const Rgb chips[4] = {{0.70, 0.25, 0.20}, {0.20, 0.30, 0.45}, {0.30, 0.30, 0.30}, {0.85, 0.65, 0.30}};
        return chips[int(Hash(id, 2, 16) * 3.999)];
    }
    return Mix({0.90, 0.88, 0.84}, {0.80, 0.78, 0.74}, Noise(u, v, 32, 17));
}

Rgb Sand(double u, double v) {
    double n = 0.7 * Noise(u, v, 16, 18) + 0.3 * Hash(int(u * kSize), int(v * kSize), 19);
    return Mix({0.80, 0.70, 0.50}, {0.95, 0.88, 0.70}, n);
}

Rgb Rainbow(double u, double v) {
    double h = u * 6.0;
    int i = int(h) % 6;
    double f = h - std::floor(h);
    Rgb c[6] = {{1, f, 0}, {1 - f, 1, 0}, {0, 1, f}, {0, 1 - f, 1}, {f, 0, 1}, {1, 0, 1 - f}};
    return Mix(c[i], {1, 1, 1}, 0.25 + 0.5 * std::abs(v - 0.5));
}

bool Write(const QString& folder, int number, const Pattern& pattern) {
    QImage image(kSize, kSize, QImage::Format_RGB32);
    for (int y = 0; y < kSize; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kSize; ++x) {
            Rgb c = pattern((x + 0.5) / kSize, (y + 0.5) / kSize);
            auto byte = [](double t) { return int(std::lround(std::clamp(t, 0.0, 1.0) * 255.0)); };
            line[x] = qRgb(byte(c.r), byte(c.g), byte(c.b));
        }
    }
    const QString path = QDir(folder).filePath(QStringLiteral("Img%1.jpg").arg(number));
    if (!image.save(path, "JPG", 92)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const Pattern patterns[15] = {Wood,    Marble, Checks, Bricks, Stripes,  Dots, GraphPaper, Sky,
                                  Granite, Water,  Weave,  Argyle, Terrazzo, Sand, Rainbow};
    for (int i = 0; i < 15; ++i)
        if (!Write(folder, i + 1, patterns[i]))
            return 1;
    return 0;
}
