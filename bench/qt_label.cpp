// SPDX-License-Identifier: MIT
// The least a Qt Widgets clock face can weigh: one label in a borderless
// window and nothing else. bench/bounce_cost.sh compares Tocka's idle memory
// with it, and, with "bounce", what moving it every 60 ms off the edges of
// the screen costs (as bench/xcb_bounce.c does without a toolkit) with what
// Tocka's bouncing costs.
//
//   qt_label SECONDS [bounce]

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include <cstdlib>
#include <cstring>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QLabel label(QStringLiteral("0:00:00"));
    label.setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
    label.setAlignment(Qt::AlignCenter);
    label.setStyleSheet(QStringLiteral("background: black; color: #00c0c0; font: bold 12pt 'Verdana';"));
    label.resize(81, 18);
    label.show();
    QTimer bounce;
    if (argc > 2 && std::strcmp(argv[2], "bounce") == 0) {
        QObject::connect(&bounce, &QTimer::timeout, &label, [&label, dx = 3, dy = 2]() mutable {
            const QRect screen = label.screen()->geometry();
            QPoint p = label.pos();
            if (p.x() + dx < screen.left() || p.x() + dx + label.width() > screen.right() + 1)
                dx = -dx;
            if (p.y() + dy < screen.top() || p.y() + dy + label.height() > screen.bottom() + 1)
                dy = -dy;
            label.move(p + QPoint(dx, dy));
        });
        bounce.start(60);
    }
    QTimer::singleShot((argc > 1 ? std::atoi(argv[1]) : 30) * 1000, &application, &QCoreApplication::quit);
    return QApplication::exec();
}
