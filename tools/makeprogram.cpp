// Lays out the program folder at build time: makeprogram <package folder> <program folder>
#include "core/AppError.h"
#include "core/ProgramFolderLayout.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the splash picture
    if (argc != 3) {
        std::fprintf(stderr, "usage: makeprogram <package folder> <program folder>\n");
        return 2;
    }
    try {
        ProgramFolderLayout::layOut(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    } catch (const AppError &error) {
        std::fprintf(stderr, "makeprogram: %s\n", error.boxText().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
