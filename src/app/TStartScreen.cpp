#include "TStartScreen.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace TStartScreen {

QWidget* Show(int milliseconds)
{
    auto* screen = new QDialog(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->setStyleSheet("QDialog { background: #1d3557; } QLabel { color: white; }");
    auto* layout = new QVBoxLayout(screen);
    auto* name = new QLabel("Tonvek", screen);
    QFont big = name->font();
    big.setPointSize(28);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);
    auto* line = new QLabel("4.10 Beta  -  loudspeaker enclosures and crossovers", screen);
    line->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    layout->addWidget(line);
    screen->resize(420, 180);
    if (QScreen* s = QGuiApplication::primaryScreen())
        screen->move(s->geometry().center() - screen->rect().center());
    screen->show();
    QTimer::singleShot(milliseconds, screen, &QDialog::close);
    return screen;
}

} // namespace TStartScreen
