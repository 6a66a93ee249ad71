// SPDX-License-Identifier: MIT
#include "about/frmabout.h"

#include "core/units/twips.h"
#include "forms/fonts.h"
#include "forms/placement.h"
#include "forms/tockapicture.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QUrl>

namespace about {

namespace {


// Text on the dialog's own background, the way its labels read.
void plainText(forms::LabelControl &label, const QString &text, bool wrap)
{
    label.setAutoFillBackground(false);
    label.setText(text);
    label.setWordWrap(wrap);
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

} // namespace

frmAbout::frmAbout(platform::Platform &platform, QString applicationTitle)
    : forms::Form(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , platform_(platform)
    , title_(std::move(applicationTitle))
{
    setObjectName(QStringLiteral("frmAbout"));
    setAccessibleName(QStringLiteral("About"));
    setWidth(5280);
    setHeight(3915);
    setFixedSize(size());
    // The texts' places are fixed in twips: in the desktop's own font, often
    // larger, the history would lose its last line.
    setFont(forms::fonts::caption(8));
    const QSizeF screen = platform_.screenTwips();
    setLeft(static_cast<float>((screen.width() - Width()) / 2));
    setTop(static_cast<float>((screen.height() - Height()) / 2));

    picIcon.setAutoFillBackground(false);
    picIcon.setPixmap(forms::tockaPicture(QSize(32, 32)));
    picIcon.setAccessibleName(QStringLiteral("Tocka icon"));
    forms::place(picIcon, 240, 240, 540, 540);

    plainText(lblTitle, QString(), false);
    lblTitle.setFont(forms::fonts::font(QStringLiteral("Verdana"), 14, true));
    forms::place(lblTitle, 1050, 240, 3885, 480);

    plainText(lblVersion, lblVersion.text(), false);
    forms::place(lblVersion, 1050, 780, 3885, 225);

    plainText(lblHistory,
              QStringLiteral("Tocka began as a small clock face for keeping an eye on long sittings at the "
                             "computer. Since then it has learned to log every session, to bounce, fade and "
                             "change size, and to call for a break; Tallio adds the sessions up."),
              true);
    forms::place(lblHistory, 1050, 1125, 3885, 1230);

    plainText(lblDisclaimer,
              QStringLiteral("Tocka comes with no warranty of any kind. It keeps its settings and session logs in "
                             "plain text files: back them up like any other files you care about."),
              true);
    lblDisclaimer.setFont(forms::fonts::font(QStringLiteral("Verdana"), 7));
    forms::place(lblDisclaimer, 240, 2460, 3750, 780);

    const QString home = QDir::toNativeSeparators(homePageFile());
    lblHomePageLink.setAutoFillBackground(false);
    lblHomePageLink.setForeColor(kLinkColour);
    QFont linkFont = lblHomePageLink.font();
    linkFont.setUnderline(true);
    lblHomePageLink.setFont(linkFont);
    lblHomePageLink.setCursor(Qt::PointingHandCursor);
    lblHomePageLink.setToolTip(home);
    lblHomePageLink.setAccessibleDescription(home);
    forms::place(lblHomePageLink, 240, 3360, 3735, 255);
    lblHomePageLink.onMouseDown = [this](int b, int s, float x, float y) { lblHomePageLink_MouseDown(b, s, x, y); };
    lblHomePageLink.onMouseUp = [this](int b, int s, float x, float y) { lblHomePageLink_MouseUp(b, s, x, y); };
    lblHomePageLink.onClick = [this] { lblHomePageLink_Click(); };
    lblHomePageLink.setKeyboardClick(forms::LabelControl::KeyboardClick::AsLink);

    forms::place(cmdOK, 4110, 2625, 1020, 375);
    cmdOK.setDefault(true);
    cmdOK.onClick = [this] { cmdOK_Click(); };
    // OK holds the focus first, so Enter closes the window; Tab goes on to
    // the link below it.
    setTabOrder(&cmdOK, &lblHomePageLink);
    cmdOK.setFocus();
    // OK is both the default and the cancel button.
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter),
                                    QKeySequence(Qt::Key_Escape)}) {
        auto *shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, [this] { cmdOK_Click(); });
    }
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load()
{
    setCaption(QStringLiteral("About ") + title_);
    lblVersion.setCaption(QStringLiteral("Version %1.%2.%3")
                              .arg(TOCKA_VERSION_MAJOR)
                              .arg(TOCKA_VERSION_MINOR)
                              .arg(TOCKA_VERSION_REVISION));
    lblTitle.setCaption(title_);
}

void frmAbout::cmdOK_Click()
{
    Unload();
}

QString frmAbout::homePageFile()
{
    const QString installed = QString::fromUtf8(TOCKA_DOC_INSTALL_DIR "/index.html");
    const QString candidates[] = {
        QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(TOCKA_DOC_FROM_BIN "/index.html")),
        installed,
        QString::fromUtf8(TOCKA_DOC_SOURCE_DIR "/index.html"),
    };
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(QFileInfo(candidate).absoluteFilePath());
    }
    return installed;
}

void frmAbout::lblHomePageLink_MouseDown(int, int, float, float)
{
    lblHomePageLink.setForeColor(kLinkPressedColour);
}

void frmAbout::lblHomePageLink_MouseUp(int, int, float, float)
{
    lblHomePageLink.setForeColor(kLinkColour);
}

void frmAbout::lblHomePageLink_Click()
{
    // A link that silently does nothing leaves the user guessing: say why.
    const QString file = homePageFile();
    const QString shown = QDir::toNativeSeparators(file);
    if (!QFileInfo(file).isFile()) {
        platform_.messageBox(QStringLiteral("Tocka's home page is missing: it should be at %1.").arg(shown), title_);
        return;
    }
    if (!platform_.openUrl(QUrl::fromLocalFile(file)))
        platform_.messageBox(
            QStringLiteral("No web browser answered to show Tocka's home page. You can open it yourself: %1").arg(shown),
            title_);
}

} // namespace about
