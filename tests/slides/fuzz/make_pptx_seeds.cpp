// Writes the seed presentations of the slide source's fuzzer into the folder given.
#include "slides/pptx_files.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_pptx_seeds FOLDER\n");
        return 2;
    }
    const int written = PptxFiles::WriteSeeds(QString::fromLocal8Bit(argv[1]));
    std::printf("%d seed files\n", written);
    return written > 0 ? 0 : 1;
}
