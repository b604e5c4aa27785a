// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <vector>

class QGroupBox;
class QKeyEvent;
class QStackedLayout;
class QTabBar;

namespace orv {

// A tab strip over a frame array: tab k shows frame k - 1 (counted from 1). Clicking another tab
// shows its frame, hides the frame CurrentFrame and makes it current; clicking the tab already
// shown does nothing. The first frame is shown when the strip is built.
class TabFrames : public QWidget {
    Q_OBJECT
public:
    // `tabStrip` names the tab bar ("TabCFG1"), `frames` the frame array ("fraCfg4").
    TabFrames(const QString& tabStrip, const QString& frames, QWidget* parent = nullptr);

    // Adds a tab and its frame (named frames(k), captioned frameCaption) and returns the frame.
    QGroupBox* addTab(const QString& caption, const QString& toolTip,
                      const QString& frameCaption = QString());

    QTabBar* tabBar() const { return tabBar_; }
    QGroupBox* frame(int index) const { return frames_.at(index); }
    int CurrentFrame() const { return currentFrame_; }

protected:
    // A tab's access key (Alt+letter) chooses the tab while the focus is anywhere in its window,
    // before the main window's menus with the same letter.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void TabClick(int index);
    // The tab whose access key the key event is, or -1.
    int tabOfAccessKey(const QKeyEvent* key) const;

    QString framesName_;
    QTabBar* tabBar_ = nullptr;
    QStackedLayout* stack_ = nullptr;
    std::vector<QGroupBox*> frames_;
    int currentFrame_ = 0;
    QWidget* keyWindow_ = nullptr;
};

} // namespace orv
