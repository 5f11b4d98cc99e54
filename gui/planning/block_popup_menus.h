// Popup menu 147: one submenu per settable block, each led by a title item that does nothing.
#pragma once

#include <QObject>
#include <QPoint>

class QMenu;
class QWidget;

namespace velorin::gui {

class BlockPopupMenus : public QObject {
    Q_OBJECT
  public:
    enum class Submenu { FeedbackDivider, Prescaler, OutputDivider, ChargePump };

    explicit BlockPopupMenus(QWidget *owner);

    // Shows the submenu with its top-left corner 30 pixels left of and above the pointer.
    void PopUp(Submenu which, const QPoint &pointer);
    QMenu *Menu(Submenu which) const;

    static constexpr int kPointerOffset = 30;

  signals:
    void commandChosen(int commandId);

  private:
    QMenu *menus_[4];
};

}  // namespace velorin::gui
