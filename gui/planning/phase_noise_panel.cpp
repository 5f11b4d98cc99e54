#include "gui/planning/phase_noise_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/file_io.h"
#include "gui/planning/described_button.h"
#include "gui/planning/noise_model_dlg.h"
#include "gui/planning/noise_model_settings.h"
#include "gui/planning/phase_noise_plot.h"

namespace velorin::gui {

namespace {

QLabel *Words(const char *objectName, const QString &meaning) {
    auto *label = new QLabel;
    label->setObjectName(objectName);
    label->setAccessibleDescription(meaning);
    label->setToolTip(meaning);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

CPhaseNoisePanel::CPhaseNoisePanel(core::Prompts &prompts, QWidget *parent)
    : QWidget(parent), prompts_(prompts), model_(LoadNoiseModel()) {
    setObjectName("phaseNoisePanel");
    setAccessibleName("Phase noise");
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    plot_ = new CPhaseNoisePlot;
    plot_->setObjectName("phaseNoisePlot");
    layout->addWidget(plot_, 1);

    // The column of buttons and figures is as wide as its figures need; the plot takes the rest.
    column_ = new QWidget;
    auto *side = new QVBoxLayout(column_);
    side->setContentsMargins(0, 0, 0, 0);
    QPushButton *noiseModel =
        DescribedButton("Noise model...", "noiseModelButton",
                        "Edit the noise of the charge pump, reference and VCO, the "
                        "temperature and the jitter band");
    connect(noiseModel, &QPushButton::clicked, this, &CPhaseNoisePanel::EditNoiseModel);
    QPushButton *load = DescribedButton("Load measured...", "loadMeasuredButton",
                                        "Show a phase-noise analyser's export beside the model");
    connect(load, &QPushButton::clicked, this, &CPhaseNoisePanel::LoadMeasured);
    saveCurves_ = DescribedButton("Save noise points...", "saveNoisePointsButton",
                                  "Save the phase-noise curves as CSV");
    connect(saveCurves_, &QPushButton::clicked, this, &CPhaseNoisePanel::SaveCurves);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {noiseModel, load, saveCurves_}) buttons->addWidget(button);
    side->addLayout(buttons);

    figures_ = new QTableWidget(2, 4);
    figures_->setObjectName("jitterFigures");
    figures_->setAccessibleName("Jitter figures, ideal, chosen and measured");
    figures_->setHorizontalHeaderLabels({"Figure", "Ideal", "Chosen", "Measured"});
    figures_->verticalHeader()->hide();
    figures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    figures_->setSelectionMode(QAbstractItemView::NoSelection);
    figures_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    figures_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 4; ++column) {
            auto *item = new QTableWidgetItem;
            if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            figures_->setItem(row, column, item);
        }
    }
    figures_->setFixedHeight(figures_->horizontalHeader()->sizeHint().height() +
                             2 * figures_->verticalHeader()->defaultSectionSize() +
                             2 * figures_->frameWidth());
    side->addWidget(figures_);
    measured_ = Words("measuredFigures", "RMS jitter and integrated phase of the measured trace");
    notes_ = Words("noiseNotes", "What the phase-noise figures need or leave out");
    notes_->setStyleSheet("color: rgb(160, 0, 0);");
    side->addWidget(measured_);
    side->addWidget(notes_);
    side->addStretch();
    layout->addWidget(column_);
}

QPixmap CPhaseNoisePanel::PlotPicture() const {
    return plot_->grab();
}

void CPhaseNoisePanel::SetPlan(std::optional<double> inputMHz, double outputDivider) {
    model_.SetPlan(inputMHz, outputDivider);
}

void CPhaseNoisePanel::Show(const core::LoopFilterRequest &request,
                            const core::LoopFilterDesign &design) {
    model_.Update(request, design);
    plot_->Show(model_.Plot());
    ShowFigures();
    measured_->setText(QString::fromStdString(model_.MeasuredFigures()));
    measured_->setVisible(model_.HasMeasured());
    QStringList notes;
    for (const std::string &note : model_.Notes()) notes << QString::fromStdString(note);
    notes_->setText(notes.join("\n\n"));
    saveCurves_->setEnabled(model_.CanSaveCurves());
}

void CPhaseNoisePanel::ShowFigures() {
    const std::vector<core::JitterRow> rows = model_.Rows();
    const QFontMetrics metrics = figures_->fontMetrics();
    int labelWidth = 0;
    for (int row = 0; row < 2; ++row) {
        const core::JitterRow &r = rows[static_cast<size_t>(row)];
        int column = 0;
        for (const std::string *text : {&r.figure, &r.ideal, &r.chosen, &r.measured}) {
            figures_->item(row, column++)->setText(QString::fromStdString(*text));
        }
        labelWidth =
            std::max(labelWidth, metrics.horizontalAdvance(figures_->item(row, 0)->text()));
    }
    // Every text whole: the figure names and values are measured, not guessed.
    const int padding = 2 * metrics.averageCharWidth();
    int valueWidth = metrics.horizontalAdvance("Measured");
    for (const char *widest : {"00000.0", "000.0000"}) {
        valueWidth = std::max(valueWidth, metrics.horizontalAdvance(widest));
    }
    valueWidth += padding;
    figures_->setColumnHidden(3, !model_.HasMeasured());
    figures_->setColumnWidth(0, labelWidth + padding);
    int width = labelWidth + padding + 2 * figures_->frameWidth();
    for (int column = 1; column < 4; ++column) {
        figures_->setColumnWidth(column, valueWidth);
        if (!figures_->isColumnHidden(column)) width += valueWidth;
    }
    figures_->setFixedWidth(width);
}

void CPhaseNoisePanel::EditNoiseModel() {
    CNoiseModelDlg dialog(model_.Parameters(), prompts_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    model_.SetParameters(dialog.Parameters());
    SaveNoiseModel(model_.Parameters());
    emit inputsChanged();
}

void CPhaseNoisePanel::LoadMeasured() {
    const std::optional<std::string> path = prompts_.ChooseFileToOpen(core::MeasuredTraceRequest());
    if (!path) return;
    const std::string error = model_.LoadMeasured(*path);
    if (!error.empty()) {
        prompts_.Tell(error);
        return;
    }
    emit inputsChanged();
}

void CPhaseNoisePanel::SaveCurves() {
    const std::optional<std::string> path = prompts_.ChooseFileToSave(core::NoiseCsvRequest());
    if (!path) return;
    std::string why;
    if (!core::WriteFileAtomically(*path, model_.CurvesCsv(), &why)) {
        prompts_.Tell(core::LoopFilterExportFailedText(*path, why));
    }
}

}  // namespace velorin::gui
