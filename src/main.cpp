#include "app.h"
#include "runtime/forms/program.h"
#include "runtime/system/heap.h"

#include <QApplication>

int main(int argc, char **argv)
{
    rt::setHeapPolicy();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Velumir");
    QApplication::setDesktopFileName(VELUMIR_APP_ID);
    QApplication::setQuitOnLastWindowClosed(false);
    rt::Program program;
    velumir::start(program);
    return QApplication::exec();
}
