// SPDX-License-Identifier: MIT
#pragma once
// What the programs show or open outside their own windows.

#include <QString>

class QUrl;

namespace platform {

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // Modal, OK only.
    virtual void messageBox(const QString &text, const QString &title) = 0;
    virtual bool openUrl(const QUrl &url) = 0;
};

} // namespace platform
