// SPDX-License-Identifier: MIT
#pragma once
// A Tocka program over the fake platform in a folder of its own: the settings
// file and the logs land in a temporary folder that goes with the test.

#include "clock/form1.h"
#include "settings/frmsetting.h"
#include "support/fakeplatform.h"
#include "support/qstringprint.h"
#include "tocka/tockaapp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class SettingsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previousFolder = QDir::currentPath();
        QDir::setCurrent(dir.path()); // the logs go to the current folder
        fake.folder = dir.path();
    }

    void TearDown() override
    {
        app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(previousFolder);
    }

public:
    // Starts the program: the clock window loads, and with it the settings.
    tocka::TockaApp &start()
    {
        app = std::make_unique<tocka::TockaApp>(fake, dir.filePath(QStringLiteral("session.checkpoint")));
        app->form1();
        return *app;
    }

    clockwindow::Form1 &clock() { return app->form1(); }
    settings::FrmSetting &settings() { return app->FrmSetting(); }

    QString iniPath() const { return dir.filePath(QStringLiteral("LogSetin.ini")); }

    void writeIni(const QByteArray &bytes)
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray readIni() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Lets closed windows go, as the event loop would.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QTemporaryDir dir;
    FakePlatform fake;
    std::unique_ptr<tocka::TockaApp> app;
    QString previousFolder;
};
