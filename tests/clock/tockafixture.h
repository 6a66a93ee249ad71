// SPDX-License-Identifier: MIT
#pragma once
// A Tocka program over the fake platform, started in a folder of its own so
// whatever the clock window writes stays there. The windows are dropped
// without their unload handlers when the test ends.

#include "clock/form1.h"
#include "settings/frmsetting.h"
#include "support/fakeplatform.h"
#include "tocka/tockaapp.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

class TockaFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(folder.path());
        fake.folder = folder.path();
        app = std::make_unique<tocka::TockaApp>(fake, folder.filePath(QStringLiteral("checkpoint")));
        clock();
    }

    void TearDown() override
    {
        app.reset();
        QDir::setCurrent(previousDir);
    }

    clockwindow::Form1 &clock() { return app->form1(); }
    settings::FrmSetting &settings() { return app->FrmSetting(); }

    // Shows the clock window at a place in whole pixels, so positions in
    // twips come out exact.
    void showClockAt(float left, float top)
    {
        clock().setLeft(left);
        clock().setTop(top);
        clock().Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&clock()));
    }

    QTemporaryDir folder;
    QString previousDir;
    FakePlatform fake;
    std::unique_ptr<tocka::TockaApp> app;
};
