#include "gui/planning/loop_filter_dlg.h"

#include <QBuffer>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/file_io.h"
#include "core/ui/control_ids.h"
#include "core/ui/widened_placement.h"
#include "gui/planning/bode_plot.h"
#include "gui/planning/phase_noise_panel.h"
#include "gui/planning/step_plot.h"
#include "gui/widgets/bitmap_resources.h"
#include "gui/widgets/bitmap_slider.h"
#include "gui/widgets/control_id.h"
#include "gui/widgets/screen_fit.h"
#include "gui/widgets/transparent_image.h"

namespace velorin::gui {

namespace {

// Dialog units of the template and of the panel that widens it. The plots take what the panel
// loses on a narrow screen, down to the width of the save buttons under them.
constexpr int kTemplateWidth = 264, kTemplateHeight = 294;
constexpr int kPanelWidth = 470, kPanelMinWidth = 438;
constexpr int kPlotsX = 200, kPanelMargin = 4;
// The phase-noise strip runs under the template and the panel alike.
constexpr int kNoiseStripHeight = 190;
const char *const kShowResponseText = "Loop response >>";
const char *const kHideResponseText = "<< Loop response";

QString Text(const std::string &text) {
    return QString::fromStdString(text);
}

template <typename Widget>
Widget *Named(Widget *widget, const char *objectName, const QString &accessibleName, int id) {
    widget->setObjectName(objectName);
    widget->setAccessibleName(accessibleName);
    if (id != 0) SetControlId(widget, id);
    return widget;
}

// A widget that shows its own words (a label, a button's caption) keeps them as its name for
// assistive technology; what it means goes in its description and tooltip.
template <typename Widget>
Widget *Described(Widget *widget, const char *objectName, const QString &meaning, int id) {
    widget->setObjectName(objectName);
    widget->setAccessibleDescription(meaning);
    widget->setToolTip(meaning);
    if (id != 0) SetControlId(widget, id);
    return widget;
}

void CaptionResponseButton(QPushButton &button, bool shown) {
    button.setText(shown ? kHideResponseText : kShowResponseText);
    const QString meaning = shown ? "Folds the loop response away"
                                  : "Widens the dialog with the loop response of the components";
    button.setAccessibleDescription(meaning);
    button.setToolTip(meaning);
}

}  // namespace

CLoopFilterDlg::CLoopFilterDlg(const core::LoopFilterRequest &request, core::Prompts &prompts,
                               QWidget *parent)
    : QDialog(parent), prompts_(prompts), model_(request), request_(request) {
    setObjectName("loopFilterDialog");
    SetControlId(this, ids::kLoopFilterDialog);
    setWindowTitle("Loop filter config");
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);

    // Everything lies on one page in a scroll area, which scrolls only on a screen too small
    // for the dialog.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    scroller_ = new QScrollArea(this);
    scroller_->setObjectName("loopFilterScroller");
    scroller_->setFrameShape(QFrame::NoFrame);
    layout->addWidget(scroller_);
    content_ = new QWidget;
    content_->setObjectName("loopFilterPage");
    scroller_->setWidget(content_);

    foldedSize_ = Dlu(0, 0, kTemplateWidth, kTemplateHeight).size();
    BuildTemplateControls();
    BuildResponsePanel();
    SetUpSliders();
    for (QLineEdit *field : {bandwidthEdit_, phaseMarginEdit_}) {
        field->installEventFilter(this);
        connect(field, &QLineEdit::editingFinished, this,
                [this, field] { TakeTypedValue(*field, false); });
    }
    ShowValues();
    FixPageSize(foldedSize_);
    bandwidthEdit_->setFocus();
}

CLoopFilterDlg::~CLoopFilterDlg() {
    for (QLineEdit *field : {bandwidthEdit_, phaseMarginEdit_}) {
        field->removeEventFilter(this);
        field->disconnect(this);
    }
}

QRect CLoopFilterDlg::Dlu(int x, int y, int width, int height) {
    // The scale of the template font, not of the font that stands in for it: the schematic is
    // a picture drawn for that scale, and the value labels must land beside its symbols.
    const auto h = [](int units) { return (units * 3 + 1) / 2; };
    const auto v = [](int units) { return (units * 13 + 4) / 8; };
    return QRect(h(x), v(y), h(width), v(height));
}

void CLoopFilterDlg::BuildTemplateControls() {
    // Created in the template's order, which is also the tab order.
    auto *bandwidthGroup = new QGroupBox("Bandwidth (KHz)", content_);
    bandwidthGroup->setGeometry(Dlu(7, 12, 250, 30));
    bandwidthEdit_ = Named(new QLineEdit(content_), "bandwidthEdit", "Bandwidth (kHz)",
                           ids::loop_filter::kBandwidthEdit);
    bandwidthEdit_->setGeometry(Dlu(20, 23, 51, 12));
    bandwidthSlider_ = Named(new CBitmapSlider(content_), "bandwidthSlider", "Bandwidth slider",
                             ids::loop_filter::kBandwidthSlider);
    bandwidthSlider_->setGeometry(Dlu(84, 24, 160, 10));

    auto *marginGroup = new QGroupBox("Phase Margin (Degrees)", content_);
    marginGroup->setGeometry(Dlu(7, 53, 250, 30));
    phaseMarginEdit_ = Named(new QLineEdit(content_), "phaseMarginEdit", "Phase margin (degrees)",
                             ids::loop_filter::kPhaseMarginEdit);
    phaseMarginEdit_->setGeometry(Dlu(20, 65, 51, 12));
    phaseMarginSlider_ = Named(new CBitmapSlider(content_), "phaseMarginSlider",
                               "Phase margin slider", ids::loop_filter::kPhaseMarginSlider);
    phaseMarginSlider_->setGeometry(Dlu(84, 66, 160, 10));

    schematic_ = Named(new CTransparentImage(content_), "schematicImage", "Loop filter schematic",
                       ids::loop_filter::kSchematic);
    schematic_->setGeometry(Dlu(8, 94, 240, 163));
    schematic_->SetBitmapResource(bitmaps::kLoopFilterSchematic);

    struct LabelPlace {
        QLabel **label;
        const char *name;
        const char *meaning;
        int id, x, y;
    };
    const LabelPlace labels[] = {
        {&c1Label_, "c1Label", "C1, the capacitor across the amplifier", ids::loop_filter::kC1Label,
         69, 99},
        {&c2Label_, "c2Label", "C2, the capacitor in series with R2", ids::loop_filter::kC2Label,
         69, 132},
        {&r2Label_, "r2Label", "R2, the resistor in series with C2", ids::loop_filter::kR2Label,
         127, 133},
        {&r3Label_, "r3Label", "R3, the fixed output resistor", ids::loop_filter::kR3Label, 195,
         180},
        {&c3Label_, "c3Label", "C3, the capacitor from the output to ground",
         ids::loop_filter::kC3Label, 229, 223},
    };
    // Wide enough for the longest value ("473.5pf") in whatever font stands in.
    const int labelWidth = fontMetrics().horizontalAdvance("000.0pf") + 2;
    for (const LabelPlace &place : labels) {
        *place.label = Described(new QLabel(content_), place.name, place.meaning, place.id);
        QRect rect = Dlu(place.x, place.y, 28, 14);
        rect.setWidth(std::max(rect.width(), labelWidth));
        (*place.label)->setGeometry(rect);
        (*place.label)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    auto *note = new QLabel("Note: Loop filter depends on the prescaler and charge pump settings.",
                            content_);
    note->setObjectName("noteLabel");
    QRect notePlace = Dlu(7, 260, 218, 8);
    notePlace.setWidth(std::max(notePlace.width(), note->sizeHint().width()));
    note->setGeometry(notePlace);

    auto *ok = Named(new QPushButton("OK", content_), "okButton", "OK", 1);
    ok->setGeometry(Dlu(147, 273, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CLoopFilterDlg::accept);
    auto *cancel = Named(new QPushButton("Cancel", content_), "cancelButton", "Cancel", 2);
    cancel->setGeometry(Dlu(207, 273, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &CLoopFilterDlg::reject);

    // Beside the template's buttons, in the free corner: it widens the dialog.
    responseButton_ = new QPushButton(content_);
    responseButton_->setObjectName("responseButton");
    SetControlId(responseButton_, ids::loop_filter::kResponseButton);
    CaptionResponseButton(*responseButton_, false);
    responseButton_->setGeometry(Dlu(7, 273, 76, 14));
    responseButton_->setAutoDefault(false);
    connect(responseButton_, &QPushButton::clicked, this,
            [this] { ShowResponse(!ResponseShown()); });
}

void CLoopFilterDlg::BuildResponsePanel() {
    responsePanel_ = Named(new QWidget(content_), "responsePanel", "Loop response", 0);
    const auto place = [](QWidget *widget, int x, int y, int width, int height) {
        widget->setGeometry(Dlu(x, y, width, height));
    };

    figures_ =
        Named(new QTableWidget(responsePanel_), "responseFigures",
              "Loop figures, ideal and chosen components", ids::loop_filter::kResponseFigures);
    place(figures_, 4, 7, 192, 143);
    // The rows come with the first figures, when the panel is first shown.
    figures_->setColumnCount(3);
    figures_->setHorizontalHeaderLabels({"Figure", "Ideal", "Chosen"});
    figures_->verticalHeader()->hide();
    figures_->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    figures_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    figures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    figures_->setSelectionMode(QAbstractItemView::NoSelection);
    figures_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    figures_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int figureWidth = fontMetrics().horizontalAdvance("00000.00") + 12;
    for (int column : {1, 2}) {
        figures_->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Fixed);
        figures_->setColumnWidth(column, figureWidth);
    }

    notes_ = Described(new QLabel(responsePanel_), "responseNotes",
                       "Warnings about the loop the chosen components give",
                       ids::loop_filter::kResponseNotes);
    place(notes_, 4, 154, 192, 114);
    notes_->setWordWrap(true);
    notes_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    notes_->setStyleSheet("color: rgb(160, 0, 0);");

    bodePlot_ = Named(new CBodePlot(responsePanel_), "bodePlot", "Open-loop Bode diagram",
                      ids::loop_filter::kBodePlot);
    stepPlot_ = Named(new CStepPlot(responsePanel_), "stepPlot",
                      "Closed-loop frequency step response", ids::loop_filter::kStepPlot);
    PlaceResponsePanel(Dlu(0, 0, kPanelWidth, 0).width());

    struct SaveButton {
        const char *text, *name, *meaning;
        int id, x;
        core::LoopFilterExport what;
    };
    const SaveButton buttons[] = {
        {"Save plots...", "savePlotsButton", "Save the plots as a PNG picture",
         ids::loop_filter::kSavePlotsButton, 200, core::LoopFilterExport::PlotsPng},
        {"Save Bode points...", "saveBodePointsButton", "Save the Bode points as CSV",
         ids::loop_filter::kSaveBodePointsButton, 270, core::LoopFilterExport::BodeCsv},
        {"Save step points...", "saveStepPointsButton", "Save the step response points as CSV",
         ids::loop_filter::kSaveStepPointsButton, 354, core::LoopFilterExport::StepCsv},
    };
    for (const SaveButton &b : buttons) {
        auto *button = Described(new QPushButton(b.text, responsePanel_), b.name, b.meaning, b.id);
        place(button, b.x, 273, b.id == ids::loop_filter::kSavePlotsButton ? 66 : 80, 14);
        button->setAutoDefault(false);
        const core::LoopFilterExport what = b.what;
        connect(button, &QPushButton::clicked, this, [this, what] { Save(what); });
    }
    responsePanel_->hide();

    noisePanel_ = new CPhaseNoisePanel(prompts_, content_);
    noisePanel_->hide();
    connect(noisePanel_, &CPhaseNoisePanel::inputsChanged, this, [this] {
        if (ResponseShown()) ShowResponseValues();
    });
}

void CLoopFilterDlg::SetNoisePlan(std::optional<double> inputMHz, double outputDivider) {
    noisePanel_->SetPlan(inputMHz, outputDivider);
    if (ResponseShown()) ShowResponseValues();
}

void CLoopFilterDlg::SetUpSliders() {
    bandwidthSlider_->SetRange(core::kBandwidthSliderMinKHz, core::kBandwidthSliderMaxKHz, false);
    bandwidthSlider_->SetPos(model_.BandwidthKHz());
    for (CBitmapSlider *slider : {bandwidthSlider_, phaseMarginSlider_}) {
        slider->SetChannelBitmaps(bitmaps::kSliderChannel, bitmaps::kSliderChannelFilled, false);
        slider->SetThumbBitmaps(bitmaps::kSliderThumb, bitmaps::kSliderThumbDragged, true,
                                0xFF000000u, 0, 0);
        slider->SetFocusRectVisible(false);
        slider->SetMargins(2, 3, 2, 0);
        connect(slider, &CBitmapSlider::sliderMoving, this, &CLoopFilterDlg::OnSliderNotification);
        connect(slider, &CBitmapSlider::sliderMoved, this, &CLoopFilterDlg::OnSliderNotification);
    }
    phaseMarginSlider_->SetRange(core::kPhaseMarginSliderMinDeg, core::kPhaseMarginSliderMaxDeg);
    phaseMarginSlider_->SetPos(model_.PhaseMarginInt());
}

void CLoopFilterDlg::OnSliderNotification(int controlId, int) {
    // The position is read from the slider itself: a later move may already have changed it.
    if (controlId == ids::loop_filter::kBandwidthSlider) {
        model_.MoveSlider(core::LoopFilterSlider::Bandwidth, bandwidthSlider_->GetPos());
    } else if (controlId == ids::loop_filter::kPhaseMarginSlider) {
        model_.MoveSlider(core::LoopFilterSlider::PhaseMargin, phaseMarginSlider_->GetPos());
    } else {
        return;
    }
    ShowValues();
}

void CLoopFilterDlg::TakeTypedValue(QLineEdit &field, bool enterPressed) {
    const core::LoopFilterSlider slider = &field == bandwidthEdit_
                                              ? core::LoopFilterSlider::Bandwidth
                                              : core::LoopFilterSlider::PhaseMargin;
    switch (model_.TypeValue(slider, field.text().toStdString())) {
        case core::LoopFilterDialogModel::Typed::Moved:
            bandwidthSlider_->SetPos(model_.BandwidthKHz());
            phaseMarginSlider_->SetPos(model_.PhaseMarginInt());
            ShowValues();
            break;
        case core::LoopFilterDialogModel::Typed::Unchanged:
            ShowValues();
            break;
        case core::LoopFilterDialogModel::Typed::NotInteger:
            // Leaving the field keeps the text for OK to refuse; Enter refuses it at once.
            if (!enterPressed) break;
            prompts_.Tell(core::kEnterIntegerText);
            field.setFocus();
            field.selectAll();
            break;
    }
}

bool CLoopFilterDlg::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == bandwidthEdit_ || watched == phaseMarginEdit_)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            TakeTypedValue(*static_cast<QLineEdit *>(watched), true);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CLoopFilterDlg::ShowValues() {
    bandwidthEdit_->setText(QString::number(model_.BandwidthKHz()));
    phaseMarginEdit_->setText(QString::number(model_.PhaseMarginInt()));
    const core::LoopFilterLabels &labels = model_.Labels();
    c1Label_->setText(Text(labels.c1));
    c2Label_->setText(Text(labels.c2));
    c3Label_->setText(Text(labels.c3));
    r2Label_->setText(Text(labels.r2));
    r3Label_->setText(Text(labels.r3));
    if (ResponseShown()) ShowResponseValues();
}

void CLoopFilterDlg::ShowResponseValues() {
    noisePanel_->Show(request_, model_.Design());
    const std::vector<core::LoopResponseRow> rows = model_.ResponseRows();
    if (figures_->rowCount() != static_cast<int>(rows.size())) {
        figures_->setRowCount(static_cast<int>(rows.size()));
        for (int row = 0; row < figures_->rowCount(); ++row) {
            for (int column = 0; column < 3; ++column) {
                auto *item = new QTableWidgetItem;
                if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                figures_->setItem(row, column, item);
            }
        }
    }
    for (int row = 0; row < figures_->rowCount(); ++row) {
        const core::LoopResponseRow &r = rows[static_cast<size_t>(row)];
        figures_->item(row, 0)->setText(Text(r.figure));
        figures_->item(row, 1)->setText(Text(r.ideal));
        figures_->item(row, 2)->setText(Text(r.chosen));
    }
    QStringList notes;
    for (const std::string &note : model_.ResponseNotes()) notes << Text(note);
    notes_->setText(notes.join("\n\n"));
    bodePlot_->Show(model_.BodePlot());
    stepPlot_->Show(model_.StepPlot());
}

void CLoopFilterDlg::FixPageSize(QSize size) {
    content_->setFixedSize(size);
    FixSizeWithinScreen(*this, size);
}

void CLoopFilterDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // The window manager's frame is known now; on a small screen it takes room from the page.
    if (!screen()->availableGeometry().contains(frameGeometry())) FixPageSize(content_->size());
}

bool CLoopFilterDlg::ResponseShown() const {
    return !responsePanel_->isHidden();
}

void CLoopFilterDlg::PlaceResponsePanel(int width) {
    responsePanel_->setGeometry(foldedSize_.width(), 0, width, foldedSize_.height());
    const int plotsX = Dlu(kPlotsX, 0, 0, 0).x();
    const int plotsWidth = width - plotsX - Dlu(0, 0, kPanelMargin, 0).width();
    bodePlot_->setGeometry(
        QRect(Dlu(kPlotsX, 4, 0, 138).topLeft(), QSize(plotsWidth, Dlu(0, 0, 0, 138).height())));
    stepPlot_->setGeometry(
        QRect(Dlu(kPlotsX, 144, 0, 124).topLeft(), QSize(plotsWidth, Dlu(0, 0, 0, 124).height())));
}

void CLoopFilterDlg::ShowResponse(bool shown) {
    // The template's part keeps its size; the panel is added on its right, and the dialog
    // moves left (the panel narrows if it must) rather than reach past the screen's work area.
    int panelWidth = 0;
    const int noiseHeight = shown ? Dlu(0, 0, 0, kNoiseStripHeight).height() : 0;
    if (shown) {
        const QRect frame = frameGeometry();
        const QRect available = screen()->availableGeometry();
        const core::WidenedPlacement placed = core::PlaceWidenedWindow(
            {frame.left(), frame.width()}, Dlu(0, 0, kPanelWidth, 0).width(),
            Dlu(0, 0, kPanelMinWidth, 0).width(), {available.left(), available.width()});
        panelWidth = placed.extraWidth;
        PlaceResponsePanel(panelWidth);
        // The strip below moves the dialog up as far as it must to stay on the screen.
        const int below = frame.bottom() + noiseHeight - available.bottom();
        const int top = std::max(available.top(), frame.top() - std::max(below, 0));
        if (isVisible() && (placed.left != frame.left() || top != frame.top())) {
            move(placed.left, pos().y() + top - frame.top());
        }
        noisePanel_->setGeometry(0, foldedSize_.height(), foldedSize_.width() + panelWidth,
                                 noiseHeight);
    }
    responsePanel_->setVisible(shown);
    noisePanel_->setVisible(shown);
    CaptionResponseButton(*responseButton_, shown);
    FixPageSize(QSize(foldedSize_.width() + panelWidth, foldedSize_.height() + noiseHeight));
    if (shown) ShowResponseValues();
}

void CLoopFilterDlg::accept() {
    const auto result = model_.AcceptEdits(bandwidthEdit_->text().toStdString(),
                                           phaseMarginEdit_->text().toStdString());
    if (result == core::LoopFilterDialogModel::Accept::Ok) {
        QDialog::accept();
        return;
    }
    prompts_.Tell(core::kEnterIntegerText);
    QLineEdit *field = result == core::LoopFilterDialogModel::Accept::BandwidthNotInteger
                           ? bandwidthEdit_
                           : phaseMarginEdit_;
    field->setFocus();
    field->selectAll();
}

void CLoopFilterDlg::Save(core::LoopFilterExport what) {
    const std::optional<std::string> path =
        prompts_.ChooseFileToSave(core::LoopFilterExportRequest(what));
    if (!path) return;
    std::string content;
    switch (what) {
        case core::LoopFilterExport::PlotsPng: {
            // The plots one above the other, as they stand on the screen.
            const QPixmap bode = bodePlot_->grab(), step = stepPlot_->grab();
            const QPixmap noise = noisePanel_->PlotPicture();
            QImage picture(std::max({bode.width(), step.width(), noise.width()}),
                           bode.height() + step.height() + noise.height(), QImage::Format_RGB32);
            picture.fill(Qt::white);
            QPainter painter(&picture);
            painter.drawPixmap(0, 0, bode);
            painter.drawPixmap(0, bode.height(), step);
            painter.drawPixmap(0, bode.height() + step.height(), noise);
            painter.end();
            QByteArray bytes;
            QBuffer buffer(&bytes);
            if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
                // Nothing is written: an empty file would pass for a picture.
                prompts_.Tell(core::LoopFilterExportFailedText(
                    *path, "The plots could not be made a PNG picture."));
                return;
            }
            content.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
            break;
        }
        case core::LoopFilterExport::BodeCsv:
            content = model_.BodeCsv();
            break;
        case core::LoopFilterExport::StepCsv:
            content = model_.StepCsv();
            break;
    }
    std::string why;
    if (!core::WriteFileAtomically(*path, content, &why)) {
        prompts_.Tell(core::LoopFilterExportFailedText(*path, why));
    }
}

}  // namespace velorin::gui
