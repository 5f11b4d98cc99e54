#include "gui/planning/block_popup_menus.h"

#include <QMenu>
#include <QWidget>

#include "core/planning/view_commands.h"

namespace velorin::gui {

namespace {

using core::CommandMenu;
static_assert(static_cast<int>(BlockPopupMenus::Submenu::ChargePump) ==
              static_cast<int>(CommandMenu::ChargePump));

QMenu *BuildMenu(QWidget *owner, const char *name, CommandMenu which) {
    auto *menu = new QMenu(owner);
    menu->setObjectName(name);
    const char *title = core::CommandMenuTitle(which);
    menu->setAccessibleName(title);
    // The title leads the list and is an ordinary item that does nothing.
    menu->addAction(title);
    for (const core::ViewCommand &command : core::kViewCommands) {
        if (command.menu != which) continue;
        QAction *action = menu->addAction(QString::fromUtf8(command.text));
        action->setData(command.id);
    }
    return menu;
}

}  // namespace

BlockPopupMenus::BlockPopupMenus(QWidget *owner) : QObject(owner) {
    menus_[0] = BuildMenu(owner, "feedbackDividerMenu", CommandMenu::FeedbackDivider);
    menus_[1] = BuildMenu(owner, "prescalerMenu", CommandMenu::Prescaler);
    menus_[2] = BuildMenu(owner, "outputDividerMenu", CommandMenu::OutputDivider);
    menus_[3] = BuildMenu(owner, "chargePumpMenu", CommandMenu::ChargePump);
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
