// Tallio: shows how much time the sessions that Tocka logged add up to. It
// reads LogData.log in the folder it is started in and takes no arguments.

#include "appversion.h"
#include "talliowindow.h"
#include "formslot.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tallio"));
    QApplication::setApplicationVersion(applicationVersionText());
    QApplication::setDesktopFileName(QStringLiteral("tallio"));
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/tallio/tallio-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    FormSlot<tallio::Form1> form([] { return new tallio::Form1(); });
    form.get().Show();
    return QApplication::exec();
}
