// SPDX-License-Identifier: MIT
// Test entry point: one QApplication for the whole binary, offscreen unless
// the caller chose a platform, and the C locale so number and date texts do
// not depend on the machine.
// A binary in which a test skipped (no root, no clipboard) and none failed
// ends with TOCKA_TEST_SKIPPED, which CTest reports as skipped: a pass would
// claim that everything in it ran.

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale::c());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int failed = RUN_ALL_TESTS();
    if (failed == 0 && ::testing::UnitTest::GetInstance()->skipped_test_count() > 0)
        return TOCKA_TEST_SKIPPED;
    return failed;
}
