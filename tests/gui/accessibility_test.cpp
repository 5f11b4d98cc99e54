// Every window as a screen reader meets it: each showing label reads what it shows, names are
// words rather than identifiers, and every edit, list, slider and button has a name, a button's
// starting with its caption.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <functional>
#include <map>
#include <memory>

#include "core/board_run.h"
#include "gui/app/about_dlg.h"
#include "gui/app/firm_dnl_dlg.h"
#include "gui/app/main_frame.h"
#include "gui/device/ee_lock_confirm_dlg.h"
#include "gui/device/password_dlg.h"
#include "gui/device/read_back_dlg.h"
#include "gui/device/velorin_dlg.h"
#include "gui/planning/loop_filter_dlg.h"
#include "gui/planning/main_view.h"
#include "gui/planning/noise_model_dlg.h"
#include "gui/planning/xtal_freq_dlg.h"
#include "qt_retained_allocations.h"
#include "support/recording_sleeper.h"
#include "support/scripted_prompts.h"
#include "test_program.h"

namespace velorin::gui {
namespace {

using testing::Program;

// What the widget itself puts on the screen; a name equal to it is the program's own text.
QString ShownText(const QObject *object) {
    if (auto *label = qobject_cast<const QLabel *>(object)) return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(object)) return button->text();
    if (auto *group = qobject_cast<const QGroupBox *>(object)) return group->title();
    if (auto *list = qobject_cast<const QComboBox *>(object)) return list->currentText();
    if (auto *edit = qobject_cast<const QLineEdit *>(object)) return edit->text();
    if (auto *widget = qobject_cast<const QWidget *>(object)) return widget->windowTitle();
    return QString();
}

QString Plain(QString text) {
    return text.remove('&').simplified();
}

// camelCase, snake_case, or the object's own name: what a program calls a field.
bool IdentifierLike(const QString &name, const QString &objectName) {
    if (name.isEmpty() || name.contains(' ')) return false;
    static const QRegularExpression joined("[a-z][A-Z]|\\w_\\w");
    return name.contains(joined) || objectName.startsWith(name);
}

bool NeedsName(QAccessible::Role role) {
    switch (role) {
        case QAccessible::EditableText:
        case QAccessible::ComboBox:
        case QAccessible::SpinBox:
        case QAccessible::Slider:
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ButtonMenu:
            return true;
        default:
            return false;
    }
}

struct Walk {
    std::vector<std::string> faults;
    int checked = 0;

    void Fault(QAccessibleInterface &node, const char *what) {
        const QObject *object = node.object();
        faults.push_back(std::string(what) + ": '" + node.text(QAccessible::Name).toStdString() +
                         "' (" + (object ? object->objectName().toStdString() : "") + ")");
    }

    void Visit(QAccessibleInterface &node) {
        if (node.state().invisible) return;
        ++checked;
        const QObject *object = node.object();
        const QString name = node.text(QAccessible::Name);
        const QString objectName = object ? object->objectName() : QString();
        // A label without text shows a picture, or nothing yet.
        if (auto *label = qobject_cast<const QLabel *>(object);
            label != nullptr && !label->text().isEmpty() && name != label->text()) {
            Fault(node, "label not read as shown");
        }
        if (IdentifierLike(name, objectName) && name != Plain(ShownText(object))) {
            Fault(node, "identifier as name");
        }
        if (NeedsName(node.role()) && name.trimmed().isEmpty()) Fault(node, "no name");
        if (auto *button = qobject_cast<const QAbstractButton *>(object);
            button != nullptr && !Plain(name).startsWith(Plain(button->text()))) {
            Fault(node, "button name without its caption");
        }
        for (int i = 0; i < node.childCount(); ++i) {
            if (QAccessibleInterface *child = node.child(i)) Visit(*child);
        }
    }
};

struct Window {
    const char *name;
    std::function<std::unique_ptr<QWidget>(Program &)> open;
};

const core::LoopFilterRequest kLoopFilter{400000, 80, 224e-6, 5, 12};

const Window kWindows[] = {
    {"main window",
     [](Program &p) -> std::unique_ptr<QWidget> {
         auto frame = std::make_unique<CMainFrame>();
         auto *view = new CGuiView(p.services, *frame);
         frame->SetView(view);
         view->OnInitialUpdate();
         return frame;
     }},
    {"device-settings dialog",
     [](Program &p) -> std::unique_ptr<QWidget> {
         auto dialog = std::make_unique<CVelorinDlg>(p.services, 1);
         dialog->RefreshNow();  // the frequency windows, as half a second later
         return dialog;
     }},
    {"loop-filter dialog",
     [](Program &p) -> std::unique_ptr<QWidget> {
         return std::make_unique<CLoopFilterDlg>(kLoopFilter, p.prompts);
     }},
    {"loop-filter dialog with its response panel",
     [](Program &p) -> std::unique_ptr<QWidget> {
         auto dialog = std::make_unique<CLoopFilterDlg>(kLoopFilter, p.prompts);
         dialog->ShowResponse(true);
         return dialog;
     }},
    {"noise-model dialog",
     [](Program &p) -> std::unique_ptr<QWidget> {
         return std::make_unique<CNoiseModelDlg>(core::PhaseNoiseParameters{}, p.prompts);
     }},
    {"read-back dialog",
     [](Program &p) -> std::unique_ptr<QWidget> {
         return std::make_unique<ReadBackDlg>(p.services, 0);
     }},
    {"crystal dialog",
     [](Program &) -> std::unique_ptr<QWidget> {
         return std::make_unique<CXtalFreqDlg>([](const std::string &) { return true; });
     }},
    {"firmware-download dialog",
     [](Program &p) -> std::unique_ptr<QWidget> {
         return std::make_unique<CFirmDnlDlg>(p.services, "/nonexistent/MXR817_Eval_Fw.bin");
     }},
    {"lock confirmation",
     [](Program &) -> std::unique_ptr<QWidget> { return std::make_unique<CEELockConfirmDlg>(); }},
    {"password dialog",
     [](Program &p) -> std::unique_ptr<QWidget> {
         return std::make_unique<CPasswordDlg>(p.prompts);
     }},
    {"About box",
     [](Program &) -> std::unique_ptr<QWidget> { return std::make_unique<CAboutDlg>(); }},
};

TEST(Accessibility, TheCheckKnowsAnIdentifier) {
    EXPECT_TRUE(IdentifierLike("deviceRevision", "deviceRevisionEdit"));
    EXPECT_TRUE(IdentifierLike("ibias_100ua", ""));
    EXPECT_TRUE(IdentifierLike("raw", "rawEdit"));
    EXPECT_FALSE(IdentifierLike("Device Revision meaning", "deviceRevisionTextEdit"));
    EXPECT_FALSE(IdentifierLike("C1", "c1Edit"));
}

TEST(Accessibility, EveryWindowReadsAsItShows) {
    for (const Window &window : kWindows) {
        SCOPED_TRACE(window.name);
        [[maybe_unused]] const velorin::testing::QtRetainedAllocations qtOwned;
        Program program;
        std::unique_ptr<QWidget> widget = window.open(program);
        widget->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
        QAccessibleInterface *root = QAccessible::queryAccessibleInterface(widget.get());
        ASSERT_NE(root, nullptr);
        Walk walk;
        walk.Visit(*root);
        EXPECT_GE(walk.checked, 3);
        EXPECT_EQ(walk.faults, std::vector<std::string>{});
        widget->close();
    }
}

// Everything a screen reader reaches from the window, by object name, with the name it reads.
void Reach(QAccessibleInterface &node, std::map<QString, QString> &reached) {
    if (const QObject *object = node.object(); object && !object->objectName().isEmpty()) {
        reached[object->objectName()] = node.text(QAccessible::Name);
    }
    for (int i = 0; i < node.childCount(); ++i) {
        if (QAccessibleInterface *child = node.child(i)) Reach(*child, reached);
    }
}

// As the dialog opens, before its first refresh half a second later.
TEST(Accessibility, TheFrequencyWindowsAreReadAsTheyShowFromTheOpening) {
    [[maybe_unused]] const velorin::testing::QtRetainedAllocations qtOwned;
    Program program;
    CVelorinDlg dialog(program.services, 1);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    std::map<QString, QString> reached;
    Reach(*QAccessible::queryAccessibleInterface(&dialog), reached);
    for (const char *name : {"inputLowText", "inputHighText", "outputLowText", "outputHighText"}) {
        SCOPED_TRACE(name);
        auto *label = dialog.findChild<QLabel *>(name);
        ASSERT_NE(label, nullptr);
        EXPECT_FALSE(label->text().isEmpty());
        ASSERT_EQ(reached.count(name), 1u);
        EXPECT_EQ(reached[name], label->text());
    }
    dialog.close();
}

}  // namespace
}  // namespace velorin::gui
