#include "tockaapp.h"

#include "platform.h"

#include <QTimer>

#include <cstdio>

TockaApp::TockaApp(Platform &platform, QString journalFolder)
    : platform_(platform)
    , journal_(std::move(journalFolder))
    , form1_([this] {
        auto *form = new Form1(*this);
        connect(form, &QObject::destroyed, this, &TockaApp::finished);
        return form;
    })
    , settings_([this] { return new ::FrmSetting(*this); })
    , about_([this] { return new ::frmAbout(platform_, title()); })
{
}

TockaApp::~TockaApp()
{
    // The program is over: the windows go without their unload handlers.
    about_.destroy();
    settings_.destroy();
    form1_.destroy();
}

Form1 &TockaApp::form1()
{
    return form1_.get();
}

bool TockaApp::isForm1Loaded() const
{
    return form1_.isLoaded();
}

::FrmSetting &TockaApp::FrmSetting()
{
    return settings_.get();
}

bool TockaApp::isFrmSettingLoaded() const
{
    return settings_.isLoaded();
}

::frmAbout &TockaApp::frmAbout()
{
    return about_.get();
}

bool TockaApp::isFrmAboutLoaded() const
{
    return about_.isLoaded();
}

void TockaApp::showAbout()
{
    frmAbout().Show();
}

void TockaApp::start()
{
    Form1 &clock = form1();
    // Only entries whose owner is gone are taken; this session's own entry
    // and those of any other running copy are held by their owners.
    const sessionlog::Journal::Delivery owed = journal_.deliverOwed();
    clock.Show();
    if (!owed.messages.isEmpty()) {
        const QString message = owed.messages.join(QLatin1String("\n\n"));
        for (const QString &line : owed.messages)
            std::fprintf(stderr, "tocka: %s\n", qPrintable(line));
        QTimer::singleShot(0, this, [this, message] { tellUser(message); });
    }
}

void TockaApp::endSession()
{
    desktopEnding_ = true;
    form1_.unload();
}

void TockaApp::tellUser(const QString &message)
{
    if (desktopEnding_)
        return;
    platform_.messageBox(message, title());
}
