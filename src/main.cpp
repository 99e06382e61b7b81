#include "app.h"
#include "runtime/forms/program.h"

#include <QApplication>

#include <malloc.h>

int main(int argc, char **argv)
{
    // A lookup window's list of a hundred thousand headwords is freed when the
    // window closes and made again when it opens; keeping that memory in the
    // process spares the system handing it out page by page each time.
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    QApplication application(argc, argv);
    QApplication::setApplicationName("Velumir");
    QApplication::setDesktopFileName(VELUMIR_APP_ID);
    QApplication::setQuitOnLastWindowClosed(false);
    rt::Program program;
    velumir::start(program);
    return QApplication::exec();
}
