// Every window shows each of its texts whole: no label, field, button, list, group title, block
// or table cell is narrower or lower than what it holds. The suite runs this at the program's
// own size and again under QT_SCALE_FACTOR 1.5 and 2, where the fonts are hinted otherwise.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QTableView>
#include <QTest>
#include <functional>
#include <memory>

#include "core/board_run.h"
#include "core/device/readback_decode.h"
#include "core/ui/control_ids.h"
#include "gui/app/about_dlg.h"
#include "gui/app/application.h"
#include "gui/app/firm_dnl_dlg.h"
#include "gui/app/main_frame.h"
#include "gui/device/ee_lock_confirm_dlg.h"
#include "gui/device/password_dlg.h"
#include "gui/device/read_back_dlg.h"
#include "gui/device/velorin_dlg.h"
#include "gui/planning/line_plot.h"
#include "gui/planning/loop_filter_dlg.h"
#include "gui/planning/main_view.h"
#include "gui/planning/step_plot.h"
#include "gui/planning/xtal_freq_dlg.h"
#include "gui/trace/board_traffic_dock.h"
#include "gui/widgets/uni_button.h"
#include "support/recording_sleeper.h"
#include "support/scripted_prompts.h"
#include "test_program.h"
#include "velorin.h"

namespace velorin::gui {
namespace {

using testing::Program;

QString Plain(const QString &text) {
    QString plain = text;
    plain.remove('&');
    return plain;
}

// Collects every text that its widget cannot show whole.
class TextCheck {
  public:
    std::vector<std::string> cuts;
    int checked = 0;

    void Window(QWidget &window) {
        std::vector<QWidget *> widgets{&window};
        for (QWidget *child : window.findChildren<QWidget *>()) widgets.push_back(child);
        for (QWidget *widget : widgets) {
            if (!widget->isVisibleTo(&window) && widget != &window) continue;
            Widget(*widget);
        }
    }

  private:
    void Cut(const QWidget &widget, const QString &text, double needed, double room) {
        cuts.push_back(widget.objectName().toStdString() + " '" + text.toStdString() +
                       "': " + std::to_string(needed) + " > " + std::to_string(room));
    }
    void Fits(const QWidget &widget, const QString &text, QSizeF needed, QSizeF room) {
        ++checked;
        if (needed.width() > room.width()) Cut(widget, text, needed.width(), room.width());
        if (needed.height() > room.height()) Cut(widget, text, needed.height(), room.height());
    }

    void Widget(QWidget &widget) {
        if (auto *block = qobject_cast<CUniButton *>(&widget)) return Block(*block);
        if (auto *label = qobject_cast<QLabel *>(&widget)) return Label(*label);
        if (auto *button = qobject_cast<QPushButton *>(&widget)) return PushButton(*button);
        if (auto *box = qobject_cast<QCheckBox *>(&widget)) {
            return Indicated(*box, QStyle::SE_CheckBoxContents);
        }
        if (auto *radio = qobject_cast<QRadioButton *>(&widget)) {
            return Indicated(*radio, QStyle::SE_RadioButtonContents);
        }
        if (auto *edit = qobject_cast<QLineEdit *>(&widget)) return Edit(*edit);
        if (auto *list = qobject_cast<QComboBox *>(&widget)) return List(*list);
        if (auto *group = qobject_cast<QGroupBox *>(&widget)) return Group(*group);
        if (auto *table = qobject_cast<QTableView *>(&widget)) return Table(*table);
        if (auto *plot = qobject_cast<CLinePlot *>(&widget)) return Plot(*plot);
    }

    void Plot(const CLinePlot &plot) {
        ++checked;
        for (const QString &text : plot.CutTexts()) {
            cuts.push_back(plot.objectName().toStdString() + " '" + text.toStdString() +
                           "' is cut or crowded");
        }
    }

    void Block(CUniButton &block) {
        ++checked;
        const QRectF ink = block.TextRect();
        if (!QRectF(block.rect()).contains(ink)) {
            cuts.push_back(block.objectName().toStdString() + " '" +
                           block.text().simplified().toStdString() + "' lies outside its block");
        }
    }

    void Label(QLabel &label) {
        if (label.text().isEmpty() || !label.pixmap().isNull()) return;
        const QRect room = label.contentsRect().adjusted(label.margin(), label.margin(),
                                                         -label.margin(), -label.margin());
        int flags = static_cast<int>(label.alignment()) | Qt::TextShowMnemonic;
        if (label.wordWrap()) flags |= Qt::TextWordWrap;
        const QRect needed = label.fontMetrics().boundingRect(room, flags, label.text());
        Fits(label, label.text(), needed.size(), room.size());
    }

    void PushButton(QPushButton &button) {
        if (button.text().isEmpty()) return;
        QStyleOptionButton option;
        option.initFrom(&button);
        option.text = button.text();
        if (button.isFlat()) option.features |= QStyleOptionButton::Flat;
        const QRect room =
            button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
        const QRect needed = button.fontMetrics().boundingRect(
            room, Qt::AlignCenter | Qt::TextShowMnemonic, button.text());
        Fits(button, button.text(), needed.size(), room.size());
    }

    void Indicated(QAbstractButton &button, QStyle::SubElement contents) {
        QStyleOptionButton option;
        option.initFrom(&button);
        option.text = button.text();
        const QRect room = button.style()->subElementRect(contents, &option, &button);
        const QRect needed = button.fontMetrics().boundingRect(
            room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, button.text());
        Fits(button, button.text(), needed.size(), room.size());
    }

    void Edit(QLineEdit &edit) {
        QStyleOptionFrame option;
        option.initFrom(&edit);
        option.rect = edit.rect();
        option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                                       &option, &edit)
                                           : 0;
        const QRect contents =
            edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
        // QLineEdit keeps two pixels free on either side and needs one more for its cursor.
        const QSize room(contents.marginsRemoved(edit.textMargins()).width() - 2 * 2 - 1,
                         contents.height());
        const QSize needed(edit.fontMetrics().horizontalAdvance(edit.text()),
                           edit.fontMetrics().height());
        Fits(edit, edit.text(), needed, room);
    }

    void List(QComboBox &list) {
        QStyleOptionComboBox option;
        option.initFrom(&list);
        option.editable = list.isEditable();
        option.frame = list.hasFrame();
        const QRect room = list.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                        QStyle::SC_ComboBoxEditField, &list);
        for (int i = 0; i < list.count(); ++i) {
            const QString entry = list.itemText(i);
            Fits(list, entry, QSize(list.fontMetrics().horizontalAdvance(entry), 0), room.size());
        }
    }

    void Group(QGroupBox &group) {
        if (group.title().isEmpty()) return;
        QStyleOptionGroupBox option;
        option.initFrom(&group);
        option.text = group.title();
        option.lineWidth = 1;
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.textAlignment = group.alignment();
        const QRect label = group.style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                          QStyle::SC_GroupBoxLabel, &group);
        const int needed = group.fontMetrics().horizontalAdvance(Plain(group.title()));
        Fits(group, group.title(), QSize(needed + label.left(), 0), QSize(group.width(), 0));
    }

    void Table(QTableView &table) {
        QAbstractItemModel *model = table.model();
        if (model == nullptr) return;
        const QHeaderView *header = table.horizontalHeader();
        // A cell's text keeps the style's margin on either side.
        const int margin =
            table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &table) + 1;
        for (int column = 0; column < model->columnCount(); ++column) {
            if (table.isColumnHidden(column)) continue;
            const int width = table.columnWidth(column);
            if (header->isVisible()) {
                const QString title = model->headerData(column, Qt::Horizontal).toString();
                Fits(*header, title,
                     QSize(header->fontMetrics().horizontalAdvance(title) + 2 * margin, 0),
                     QSize(width, 0));
            }
            // The stretched last column takes what is left; its cells may be read in a tooltip.
            if (column == model->columnCount() - 1 && header->stretchLastSection()) continue;
            for (int row = 0; row < std::min(model->rowCount(), 200); ++row) {
                const QString cell = model->index(row, column).data().toString();
                Fits(table, cell,
                     QSize(table.fontMetrics().horizontalAdvance(cell) + 2 * margin, 0),
                     QSize(width, 0));
            }
        }
    }
};

// The longest text each read-back field can show: every code of every field that lies within
// one byte, decoded; those texts then stand in the dialog's fields.
std::vector<std::string> LongestReadBackTexts() {
    std::vector<std::string> longest(core::ReadBackTextFields.size());
    const auto take = [&](const core::ReadBackTexts &texts) {
        for (size_t i = 0; i < longest.size(); ++i) {
            const std::string &text = texts.*core::ReadBackTextFields[i].text;
            if (text.size() > longest[i].size()) longest[i] = text;
        }
    };
    take(core::DecodeReadBack(core::ReadBackBytes{}, false));
    for (size_t byte = 0; byte < 8; ++byte) {
        for (int value = 0; value < 256; ++value) {
            core::ReadBackBytes fetched{};
            fetched[byte] = static_cast<uint8_t>(value);
            take(core::DecodeReadBack(fetched, false));
            take(core::DecodeReadBack(fetched, true));
        }
    }
    return longest;
}

struct Window {
    const char *name;
    std::function<void(Program &, const std::function<void(QWidget &)> &)> open;
};

template <typename Dialog, typename... Args>
auto Shown(Args &&...args) {
    return [=](Program &p, const std::function<void(QWidget &)> &check) {
        auto dialog = [&] {
            if constexpr (std::is_constructible_v<Dialog, const ProgramServices &, Args...>) {
                return std::make_unique<Dialog>(p.services, args...);
            } else {
                return std::make_unique<Dialog>(args...);
            }
        }();
        check(*dialog);
    };
}

const core::LoopFilterRequest kLoopFilter{400000, 80, 224e-6, 5, 12};

const Window kWindows[] = {
    {"main window with the traffic window open",
     [](Program &p, const std::function<void(QWidget &)> &check) {
         ::testing::internal::CaptureStdout();
         CQVVelorinCtrlGuiApp app(p.prompts);
         UseMainView(app);
         ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui"}));
         ::testing::internal::GetCapturedStdout();
         CMainFrame &frame = *app.MainFrame();
         frame.findChild<QAction *>("viewBoardTraffic")->trigger();
         auto &view = *qobject_cast<CGuiView *>(frame.View());
         view.PollBoard();
         view.OnSettingCommand(ids::kPrescaler2);
         auto *dock = frame.findChild<CBoardTrafficDock *>("boardTrafficDock");
         dock->Sync();
         check(frame);
         frame.findChild<QAction *>("viewBoardTraffic")->trigger();
         frame.close();
         Velorin_CloseUsbDevice();
     }},
    {"device-settings dialog",
     [](Program &p, const std::function<void(QWidget &)> &check) {
         CVelorinDlg dialog(p.services, 1);
         dialog.RefreshNow();
         check(dialog);
     }},
    {"read-back dialog with the longest texts",
     [](Program &p, const std::function<void(QWidget &)> &check) {
         ReadBackDlg dialog(p.services, 0);
         const std::vector<std::string> longest = LongestReadBackTexts();
         for (size_t i = 0; i < longest.size(); ++i) {
             const QString name = QString(core::ReadBackTextFields[i].key) + "Edit";
             auto *edit = dialog.findChild<QLineEdit *>(name);
             ASSERT_NE(edit, nullptr) << name.toStdString();
             edit->setText(QString::fromStdString(longest[i]));
         }
         check(dialog);
     }},
    {"loop-filter dialog",
     [](Program &p, const std::function<void(QWidget &)> &check) {
         CLoopFilterDlg dialog(kLoopFilter, p.prompts);
         check(dialog);
         dialog.ShowResponse(true);
         check(dialog);
     }},
    {"firmware-download dialog", Shown<CFirmDnlDlg>(QString("/nonexistent/MXR817_Eval_Fw.bin"))},
    {"About box", Shown<CAboutDlg>()},
    {"lock confirmation", Shown<CEELockConfirmDlg>()},
    {"password dialog",
     [](Program &p, const std::function<void(QWidget &)> &check) {
         CPasswordDlg dialog(p.prompts);
         check(dialog);
     }},
    {"crystal dialog",
     [](Program &, const std::function<void(QWidget &)> &check) {
         CXtalFreqDlg dialog([](const std::string &) { return true; });
         check(dialog);
     }},
};

TEST(WholeText, TheCheckFindsWhatIsCut) {
    QWidget window;
    window.resize(800, 600);
    auto *edit = new QLineEdit("127.6 kOhm", &window);
    edit->setObjectName("narrowEdit");
    edit->setGeometry(0, 0, edit->fontMetrics().horizontalAdvance("27.6 kOhm"), 24);
    auto *label = new QLabel("Input\nFrequency\n(Mhz)", &window);
    label->setObjectName("lowLabel");
    label->setGeometry(0, 40, 200, label->fontMetrics().height() * 2);
    auto *button = new QPushButton("Write Velorin Settings to RAM", &window);
    button->setObjectName("narrowButton");
    button->setGeometry(0, 100, 60, 30);
    auto *whole = new QLabel("OK", &window);
    whole->setGeometry(0, 150, 100, 30);
    // A plot too narrow for its title, and one with room for everything.
    auto *plot = new CStepPlot(&window);
    plot->setObjectName("narrowPlot");
    plot->Show(core::LoopFilterDialogModel({400000, 80, 224e-6, 5, 12}).StepPlot());
    plot->setGeometry(200, 0, 120, 200);
    auto *roomy = new CStepPlot(&window);
    roomy->setObjectName("roomyPlot");
    roomy->setGeometry(0, 200, roomy->minimumSizeHint().width(), roomy->minimumSizeHint().height());
    TextCheck check;
    check.Window(window);
    EXPECT_EQ(check.checked, 6);
    ASSERT_GE(check.cuts.size(), 4u);
    EXPECT_EQ(check.cuts[0].rfind("narrowEdit '127.6 kOhm'", 0), 0u);
    EXPECT_EQ(check.cuts[1].rfind("lowLabel", 0), 0u);
    EXPECT_EQ(check.cuts[2].rfind("narrowButton", 0), 0u);
    EXPECT_EQ(check.cuts[3].rfind("narrowPlot 'Frequency step, closed loop'", 0), 0u);
    for (const std::string &cut : check.cuts) EXPECT_EQ(cut.rfind("roomyPlot", 0), cut.npos);
}

TEST(WholeText, EveryWindowShowsEachTextWhole) {
    const int percent = qRound(qApp->devicePixelRatio() * 100);
    for (const Window &window : kWindows) {
        SCOPED_TRACE(std::string(window.name) + " at " + std::to_string(percent) + " %");
        Program program;
        window.open(program, [](QWidget &widget) {
            widget.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
            TextCheck check;
            check.Window(widget);
            EXPECT_GE(check.checked, 1);
            EXPECT_EQ(check.cuts, std::vector<std::string>{});
            widget.close();
        });
    }
}

}  // namespace
}  // namespace velorin::gui
