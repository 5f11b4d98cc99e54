#include "gui/planning/noise_model_dlg.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/loopfilter/noise_model_form.h"
#include "gui/planning/described_button.h"

namespace velorin::gui {

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

QString Text(const std::string &text) {
    return QString::fromStdString(text);
}

void ShowRows(QTableWidget &table, const Rows &rows) {
    table.setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table.rowCount(); ++row) {
        const auto &[offset, dbc] = rows[static_cast<size_t>(row)];
        table.setItem(row, 0, new QTableWidgetItem(Text(offset)));
        table.setItem(row, 1, new QTableWidgetItem(Text(dbc)));
    }
}

Rows ReadRows(const QTableWidget &table) {
    Rows rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        const auto cell = [&](int column) {
            const QTableWidgetItem *item = table.item(row, column);
            return item ? item->text().toStdString() : std::string();
        };
        rows.emplace_back(cell(0), cell(1));
    }
    return rows;
}

}  // namespace

CNoiseModelDlg::CNoiseModelDlg(const core::PhaseNoiseParameters &parameters, core::Prompts &prompts,
                               QWidget *parent)
    : QDialog(parent), prompts_(prompts), parameters_(parameters) {
    setObjectName("noiseModelDialog");
    setWindowTitle("Noise model");
    auto *layout = new QVBoxLayout(this);

    auto *note = new QLabel(QString("Defaults: ") + core::kNoiseDefaultsNote);
    note->setObjectName("noiseDefaultsNote");
    note->setWordWrap(true);
    layout->addWidget(note);

    auto *fields = new QFormLayout;
    const struct {
        QLineEdit **edit;
        const char *objectName, *label, *meaning;
    } edits[] = {
        {&pfdFom_, "pfdFomEdit", "Charge-pump floor (dBc/Hz)",
         "Figure of merit of the phase detector and charge pump, normalised to 1 Hz"},
        {&pfdFlicker_, "pfdFlickerEdit", "Charge-pump flicker (dBc/Hz)",
         "Flicker noise of the phase detector and charge pump at 10 kHz offset on a 1 GHz "
         "carrier"},
        {&temperature_, "temperatureEdit", "Temperature (K)",
         "Temperature of the loop-filter resistors, for their thermal noise"},
        {&bandLow_, "bandLowEdit", "Jitter band from (Hz)",
         "Lowest offset of the RMS jitter integral"},
        {&bandHigh_, "bandHighEdit", "Jitter band to (Hz)",
         "Highest offset of the RMS jitter integral"},
    };
    for (const auto &e : edits) {
        *e.edit = new QLineEdit;
        (*e.edit)->setObjectName(e.objectName);
        (*e.edit)->setAccessibleName(e.label);
        (*e.edit)->setAccessibleDescription(e.meaning);
        (*e.edit)->setToolTip(e.meaning);
        auto *label = new QLabel(e.label);
        label->setBuddy(*e.edit);
        fields->addRow(label, *e.edit);
    }
    layout->addLayout(fields);

    auto *tables = new QHBoxLayout;
    auto *vcoBox = new QGroupBox("VCO noise, at the VCO");
    vcoPoints_ = AddPointTable("vcoPointsTable", "VCO noise points",
                               "Free-running VCO phase noise: offset in Hz and dBc/Hz", vcoBox);
    auto *referenceBox = new QGroupBox("Reference noise, at the input");
    referencePoints_ = AddPointTable(
        "referencePointsTable", "Reference noise points",
        "Reference phase noise at the input frequency: offset in Hz and dBc/Hz", referenceBox);
    tables->addWidget(vcoBox);
    tables->addWidget(referenceBox);
    layout->addLayout(tables);

    auto *buttons = new QHBoxLayout;
    QPushButton *restore = DescribedButton("Restore defaults", "restoreDefaultsButton",
                                           "Puts the typical values back in every field");
    connect(restore, &QPushButton::clicked, this,
            [this] { ShowParameters(core::PhaseNoiseParameters{}); });
    auto *ok = new QPushButton("OK");
    ok->setObjectName("okButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CNoiseModelDlg::accept);
    auto *cancel = new QPushButton("Cancel");
    cancel->setObjectName("cancelButton");
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &CNoiseModelDlg::reject);
    buttons->addWidget(restore);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    ShowParameters(parameters);
}

QTableWidget *CNoiseModelDlg::AddPointTable(const char *objectName, const QString &title,
                                            const QString &meaning, QWidget *box) {
    auto *layout = new QVBoxLayout(box);
    auto *table = new QTableWidget(0, 2, box);
    table->setObjectName(objectName);
    table->setAccessibleName(title);
    table->setAccessibleDescription(meaning);
    table->setToolTip(meaning);
    table->setHorizontalHeaderLabels({"Offset (Hz)", "Noise (dBc/Hz)"});
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->hide();
    table->setMinimumHeight(table->fontMetrics().height() * 9);
    layout->addWidget(table);

    auto *rowButtons = new QHBoxLayout;
    const QString name = QString(objectName).remove("Table");
    QPushButton *add =
        DescribedButton("Add row", qPrintable(name + "AddRow"), "Adds a point to " + title);
    QPushButton *remove =
        DescribedButton("Remove row", qPrintable(name + "RemoveRow"), "Removes the selected point");
    connect(add, &QPushButton::clicked, table, [table] {
        table->insertRow(table->rowCount());
        table->setCurrentCell(table->rowCount() - 1, 0);
        table->editItem(table->currentItem());
    });
    connect(remove, &QPushButton::clicked, table, [table] {
        if (table->currentRow() >= 0) table->removeRow(table->currentRow());
    });
    rowButtons->addWidget(add);
    rowButtons->addWidget(remove);
    rowButtons->addStretch();
    layout->addLayout(rowButtons);
    return table;
}

void CNoiseModelDlg::ShowParameters(const core::PhaseNoiseParameters &parameters) {
    const core::NoiseModelTexts texts = core::NoiseModelToTexts(parameters);
    pfdFom_->setText(Text(texts.pfdFom));
    pfdFlicker_->setText(Text(texts.pfdFlicker));
    temperature_->setText(Text(texts.temperature));
    bandLow_->setText(Text(texts.bandLow));
    bandHigh_->setText(Text(texts.bandHigh));
    ShowRows(*vcoPoints_, texts.vcoRows);
    ShowRows(*referencePoints_, texts.referenceRows);
}

void CNoiseModelDlg::accept() {
    core::NoiseModelTexts texts;
    texts.pfdFom = pfdFom_->text().toStdString();
    texts.pfdFlicker = pfdFlicker_->text().toStdString();
    texts.temperature = temperature_->text().toStdString();
    texts.bandLow = bandLow_->text().toStdString();
    texts.bandHigh = bandHigh_->text().toStdString();
    texts.vcoRows = ReadRows(*vcoPoints_);
    texts.referenceRows = ReadRows(*referencePoints_);
    const core::NoiseModelRead read = core::ReadNoiseModelTexts(texts);
    if (!read.error.empty()) {
        prompts_.Tell(read.error);
        return;
    }
    parameters_ = read.parameters;
    QDialog::accept();
}

}  // namespace velorin::gui
