// SPDX-License-Identifier: MIT
#pragma once
// A window of the programs. Its position and size are held in twips as the
// programs set them (single precision), so arithmetic on them never loses the
// fraction of a pixel; the real window follows, rounded to whole pixels.
// Closing it runs `Form_Unload` once and then lets its slot forget it.

#include <QWidget>

#include <functional>

namespace forms {

class Form : public QWidget
{
    Q_OBJECT
public:
    explicit Form(QWidget *parent = nullptr, Qt::WindowFlags flags = {});
    ~Form() override;

    virtual void Form_Load() {}
    virtual void Form_Unload() {}

    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    void setLeft(float twips);
    void setTop(float twips);
    void setWidth(float twips);
    void setHeight(float twips);
    // Both at once: one move of the real window instead of two.
    void setPosition(float left, float top);

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString &caption) { setWindowTitle(caption); }

    // Shows the window modeless; a visible window is brought forward.
    void Show();
    // Shows the window above the one that opened it, raised and active: a
    // window manager keeps it there instead of under its opener.
    void ShowOver(QWidget *opener);
    // Closes the window the way its close box does.
    void Unload();
    bool isUnloaded() const { return unloaded_; }

    // Set by the slot that owns the form; called once, after `Form_Unload`.
    void setUnloadedCallback(std::function<void()> callback) { onUnloaded_ = std::move(callback); }

protected:
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    // Moves the real window to `topLeft`, in pixels. A window that moves
    // often hands this to the platform, which may know a cheaper way.
    virtual void moveWindow(QPoint topLeft) { move(topLeft); }

private:
    void applyGeometry();

    float left_ = 0;
    float top_ = 0;
    float width_ = 0;
    float height_ = 0;
    bool unloaded_ = false;
    bool applying_ = false;
    std::function<void()> onUnloaded_;
};

} // namespace forms
