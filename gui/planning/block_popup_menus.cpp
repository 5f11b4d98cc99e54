#include "gui/planning/block_popup_menus.h"

#include <QMenu>
#include <QWidget>
#include <initializer_list>
#include <utility>

namespace velorin::gui {

namespace {

using Items = std::initializer_list<std::pair<const char *, int>>;

QMenu *BuildMenu(QWidget *owner, const char *name, const char *title, Items items) {
    auto *menu = new QMenu(owner);
    menu->setObjectName(name);
    menu->setAccessibleName(title);
    // The title leads the list and is an ordinary item that does nothing.
    menu->addAction(title);
    for (const auto &[text, id] : items) {
        QAction *action = menu->addAction(QString::fromUtf8(text));
        action->setData(id);
    }
    return menu;
}

}  // namespace

BlockPopupMenus::BlockPopupMenus(QWidget *owner) : QObject(owner) {
    menus_[0] = BuildMenu(owner, "feedbackDividerMenu", "Feedback Divider",
                          {{"12", 32771}, {"16", 32775}, {"20", 32774}, {"32", 32772}});
    menus_[1] = BuildMenu(owner, "prescalerMenu", "Prescaler",
                          {{"2", 32778}, {"3", 32779}, {"4", 32780}, {"5", 32781}});
    menus_[2] = BuildMenu(
        owner, "outputDividerMenu", "Output Divider",
        {{"1", 32783}, {"2", 32784}, {"4", 32786}, {"8", 32787}, {"16", 32788}, {"32", 32789}});
    menus_[3] =
        BuildMenu(owner, "chargePumpMenu", "Charge Pump Current",
                  {{"56 µA", 32791}, {"112 µA", 32795}, {"168 µA", 32796}, {"224 µA", 32797}});
    for (QMenu *menu : menus_) {
        connect(menu, &QMenu::triggered, this, [this](QAction *action) {
            if (action->data().isValid()) emit commandChosen(action->data().toInt());
        });
    }
}

QMenu *BlockPopupMenus::Menu(Submenu which) const {
    return menus_[static_cast<int>(which)];
}

void BlockPopupMenus::PopUp(Submenu which, const QPoint &pointer) {
    Menu(which)->popup(pointer - QPoint(kPointerOffset, kPointerOffset));
}

}  // namespace velorin::gui
