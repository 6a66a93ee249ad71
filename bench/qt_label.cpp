// SPDX-License-Identifier: MIT
// The least a Qt Widgets clock face can weigh: one label in a borderless
// window and nothing else. bench/bounce_cost.sh compares Tocka's idle memory
// with it.
//
//   qt_label SECONDS

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <cstdlib>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QLabel label(QStringLiteral("0:00:00"));
    label.setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
    label.setAlignment(Qt::AlignCenter);
    label.setStyleSheet(QStringLiteral("background: black; color: #00c0c0; font: bold 12pt 'Verdana';"));
    label.resize(81, 18);
    label.show();
    QTimer::singleShot((argc > 1 ? std::atoi(argv[1]) : 30) * 1000, &application, &QCoreApplication::quit);
    return QApplication::exec();
}
