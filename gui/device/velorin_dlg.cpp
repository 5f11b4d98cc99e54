#include "gui/device/velorin_dlg.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/device/register_fields.h"
#include "core/ui/control_ids.h"
#include "core/ui/led_colors.h"
#include "gui/app/dialog_units.h"
#include "gui/widgets/control_id.h"
#include "gui/widgets/dynamic_led.h"

namespace velorin::gui {

namespace {

namespace id = ids::device_settings;
using core::SettingsList;

QString Tip(const char *text) {
    return QString::fromUtf8(text);
}

// A control that writes a register field says which, from the field table.
QString FieldTip(core::Field field) {
    return QString::fromStdString(core::FieldToolTip(field));
}

template <typename Widget>
Widget *Control(Widget *widget, const char *name, int controlId, const QString &accessible,
                const QString &tip) {
    widget->setObjectName(name);
    SetControlId(widget, controlId);
    widget->setAccessibleName(accessible);
    widget->setToolTip(tip);
    return widget;
}

QComboBox *List(QWidget *parent, SettingsList list, const char *name, int controlId,
                const QString &accessible, core::Field field) {
    auto *combo = Control(new QComboBox(parent), name, controlId, accessible, FieldTip(field));
    for (const std::string &entry : core::ListEntries(list))
        combo->addItem(QString::fromStdString(entry));
    combo->setEditable(false);
    return combo;
}

QPushButton *Button(QWidget *parent, const char *caption, const char *name, int controlId,
                    const char *tip) {
    auto *button = Control(new QPushButton(caption, parent), name, controlId,
                           QString(caption).replace('\n', ' '), Tip(tip));
    // Enter must not press a button in this dialog.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// A value text: assistive technology reads what it shows, so what the value means goes in its
// description and tooltip, never in its name.
QLabel *Text(QWidget *parent, const char *name, int controlId, const QString &meaning) {
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    SetControlId(label, controlId);
    label->setAccessibleDescription(meaning);
    label->setToolTip(meaning);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setMinimumWidth(40);
    return label;
}

// The words beside a control; they name it for assistive technology too.
QLabel *Caption(QWidget *parent, const char *text, QWidget *control) {
    auto *label = new QLabel(text, parent);
    label->setBuddy(control);
    return label;
}

QRadioButton *Radio(QWidget *parent, QButtonGroup *group, int position, const char *caption,
                    const char *name, int controlId, const QString &tip) {
    auto *radio = Control(new QRadioButton(caption, parent), name, controlId,
                          QString(caption).replace('\n', ' '), tip);
    group->addButton(radio, position);
    return radio;
}

QCheckBox *Check(QWidget *parent, const char *caption, const char *name, int controlId,
                 const QString &tip) {
    return Control(new QCheckBox(caption, parent), name, controlId, caption, tip);
}

QGroupBox *Group(QWidget *parent, const char *title) {
    auto *group = new QGroupBox(title, parent);
    group->setAccessibleName(title);
    return group;
}

void SetList(QComboBox *combo, int position) {
    if (combo->currentIndex() != position) combo->setCurrentIndex(position);
}

void SetRadio(QButtonGroup *group, int position) {
    if (QAbstractButton *button = group->button(position)) button->setChecked(true);
}

QString FromStd(const std::string &text) {
    return QString::fromStdString(text);
}

}  // namespace

CVelorinDlg::CVelorinDlg(const ProgramServices &services, int blockIndex, QWidget *parent)
    : QDialog(parent),
      model_(services.board, services.prompts, services.sleeper, services.image, blockIndex) {
    setObjectName("velorinDialog");
    SetControlId(this, ids::kDeviceSettingsDialog);
    setWindowTitle("Norvale Devices MXRG817A EVAL");
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(BuildFieldColumn());
    layout->addWidget(BuildLoopColumn());
    layout->addWidget(BuildBoardColumn());

    copyImage_ = new QAction("Copy image", this);
    copyImage_->setObjectName("copyImageAction");
    copyImage_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    copyImage_->setToolTip("Copy the six image bytes as 12 hexadecimal digits, Byte0 first");
    addAction(copyImage_);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    Connect();
    led_->SetLed(core::LedColorRed, core::LedShapeRound, 0);
    model_.Initialise();
    ShowState();
    // The template size, or what the contents need if that is more. Not adjustSize(): it caps a
    // window at a share of the screen, which would squeeze this one on a small screen.
    setFixedSize(DialogUnitsToPixels(this->font(), 553, 292).expandedTo(sizeHint()));
    timer_ = new QTimer(this);
    timer_->setInterval(kRefreshMs);
    connect(timer_, &QTimer::timeout, this, &CVelorinDlg::RefreshNow);
    timer_->start();
}

QWidget *CVelorinDlg::BuildFieldColumn() {
    auto *column = new QWidget(this);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    QGroupBox *vco = Group(column, "VCO Range");
    vcoGroup_ = new QButtonGroup(this);
    auto *vcoLayout = new QVBoxLayout(vco);
    vcoLayout->addWidget(Radio(vco, vcoGroup_, 0, "VCO1\n1750 ~ 2040 MHz", "vco1Radio",
                               id::kVco1Radio, FieldTip(core::Field::VcoSelect)));
    vcoLayout->addWidget(Radio(vco, vcoGroup_, 1, "VC02\n2040 ~ 2350 MHz", "vco2Radio",
                               id::kVco2Radio, FieldTip(core::Field::VcoSelect)));
    layout->addWidget(vco);

    QGroupBox *prescaler = Group(column, "PreScaler");
    auto *prescalerLayout = new QGridLayout(prescaler);
    prescaler_ = List(prescaler, SettingsList::Prescaler, "prescalerList", id::kPrescalerList,
                      "PreScaler", core::Field::Prescaler);
    feedbackDivider_ = Text(prescaler, "feedbackDividerText", id::kFeedbackDividerText,
                            "Feedback divider; no register field: it follows from the prescaler");
    prescalerLayout->addWidget(prescaler_, 0, 0, 1, 2);
    prescalerLayout->addWidget(Caption(prescaler, "FeedbackDivider", feedbackDivider_), 1, 0);
    prescalerLayout->addWidget(feedbackDivider_, 1, 1);
    layout->addWidget(prescaler);

    QGroupBox *divider = Group(column, "Output Divider");
    outputDivider_ = List(divider, SettingsList::OutputDivider, "outputDividerList",
                          id::kOutputDividerList, "Output Divider", core::Field::OutputDivider);
    (new QVBoxLayout(divider))->addWidget(outputDivider_);
    layout->addWidget(divider);

    QGroupBox *driver = Group(column, "Driver Select");
    driverGroup_ = new QButtonGroup(this);
    auto *driverLayout = new QHBoxLayout(driver);
    driverLayout->addWidget(Radio(driver, driverGroup_, 0, "LVDS", "lvdsRadio", id::kLvdsRadio,
                                  FieldTip(core::Field::OutputType)));
    driverLayout->addWidget(Radio(driver, driverGroup_, 1, "PECL", "peclRadio", id::kPeclRadio,
                                  FieldTip(core::Field::OutputType)));
    layout->addWidget(driver);

    QGroupBox *pump = Group(column, "Charge Pump Current");
    chargePump_ = List(pump, SettingsList::ChargePump, "chargePumpList", id::kChargePumpList,
                       "Charge Pump Current", core::Field::ChargePump);
    (new QVBoxLayout(pump))->addWidget(chargePump_);
    layout->addWidget(pump);

    QGroupBox *calibration = Group(column, "VCO Calibration");
    auto *calLayout = new QVBoxLayout(calibration);
    vcoCalEnable_ = Check(calibration, "Enable VCO Calibration", "vcoCalEnableCheck",
                          id::kVcoCalEnableCheck, FieldTip(core::Field::VcoCalEnable));
    vcoCalOverride_ = Check(calibration, "VCO Calibration Override", "vcoCalOverrideCheck",
                            id::kVcoCalOverrideCheck, FieldTip(core::Field::VcoCalOverride));
    vcoCalWord_ = List(calibration, SettingsList::VcoCalWord, "vcoCalWordList", id::kVcoCalWordList,
                       "VCO Calibration Word", core::Field::VcoCalWord);
    calLayout->addWidget(vcoCalEnable_);
    calLayout->addWidget(vcoCalOverride_);
    calLayout->addWidget(vcoCalWord_);
    layout->addWidget(calibration);
    layout->addStretch();
    return column;
}

QWidget *CVelorinDlg::BuildLoopColumn() {
    auto *column = new QWidget(this);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    QGroupBox *loop = Group(column, "Loop filter");
    auto *loopLayout = new QGridLayout(loop);
    c1_ = List(loop, SettingsList::C1, "c1List", id::kC1List, "C1", core::Field::C1);
    c2_ = List(loop, SettingsList::C2, "c2List", id::kC2List, "C2", core::Field::C2);
    c3_ = List(loop, SettingsList::C3, "c3List", id::kC3List, "C3", core::Field::C3);
    r2_ = List(loop, SettingsList::R2, "r2List", id::kR2List, "R2", core::Field::R2);
    const std::array<std::pair<const char *, QComboBox *>, 4> rows = {
        {{"C1", c1_}, {"C2", c2_}, {"C3", c3_}, {"R2", r2_}}};
    for (int row = 0; row < 4; ++row) {
        const auto &[caption, list] = rows[static_cast<size_t>(row)];
        loopLayout->addWidget(Caption(loop, caption, list), row, 0);
        loopLayout->addWidget(list, row, 1);
    }
    layout->addWidget(loop);

    QGroupBox *control = Group(column, "Loop Filter Control Setting");
    auto *controlLayout = new QGridLayout(control);
    loopFilterText_ =
        Text(control, "loopFilterText", id::kLoopFilterText,
             Tip("Loop-filter control word, word bits 0\u201318 in hexadecimal (C3 C1 R2 C2)"));
    controlLayout->addWidget(Caption(control, "19-bit Hex value", loopFilterText_), 0, 0);
    controlLayout->addWidget(loopFilterText_, 0, 1);
    auto *setDefault = Button(control, "Set to Default", "setDefaultButton", id::kSetDefaultButton,
                              "word bits 0\u201318 := 02279E (C2 461.0 pF, R2 13.0 kOhm, C1 23.0 "
                              "pF, C3 19.5 pF); other bits kept");
    connect(setDefault, &QPushButton::clicked, this,
            [this] { Run([this] { model_.SetLoopFilterDefault(); }); });
    controlLayout->addWidget(setDefault, 1, 0, 1, 2);
    layout->addWidget(control);

    const auto range = [&](const char *title, QLabel *&low, QLabel *&high, const char *lowName,
                           const char *highName, int lowId, int highId, const char *what) {
        QGroupBox *group = Group(column, title);
        auto *rangeLayout = new QHBoxLayout(group);
        const QString tail = QString(
                                 " of %1 (MHz) that keeps the VCO in its range; no register "
                                 "field")
                                 .arg(what);
        low = Text(group, lowName, lowId, "Lowest" + tail);
        high = Text(group, highName, highId, "Highest" + tail);
        rangeLayout->addWidget(low);
        rangeLayout->addWidget(new QLabel("~", group));
        rangeLayout->addWidget(high);
        layout->addWidget(group);
    };
    range("Freq in needed", inputLow_, inputHigh_, "inputLowText", "inputHighText",
          id::kInputLowText, id::kInputHighText, "the input");
    range("Freq out MHz", outputLow_, outputHigh_, "outputLowText", "outputHighText",
          id::kOutputLowText, id::kOutputHighText, "the output with these dividers");

    QGroupBox *test = Group(column, "QV Test Use");
    auto *testLayout = new QGridLayout(test);
    testSelect_ = List(test, SettingsList::TestSelect, "testSelectList", id::kTestSelectList,
                       "test bits select", core::Field::TestSelect);
    auto *unlock = Button(test, "UNLE", "unlockButton", id::kUnlockButton,
                          "Unlocks the block's chip EEPROM (password)");
    auto *idle = Button(test, "IDLE", "idleButton", id::kIdleButton,
                        "Sends the idle command word to the block's chip");
    connect(unlock, &QPushButton::clicked, this,
            [this] { Run([this] { model_.UnlockEeprom(); }); });
    connect(idle, &QPushButton::clicked, this, [this] { Run([this] { model_.SendIdle(); }); });
    auto *warning = new QLabel(
        "Warning! These test setting might damage\n the IC if not used in correct order.", test);
    warning->setObjectName("testWarningLabel");
    testLayout->addWidget(Caption(test, "test bits select", testSelect_), 0, 0, 1, 2);
    testLayout->addWidget(testSelect_, 1, 0, 1, 2);
    testLayout->addWidget(unlock, 2, 0);
    testLayout->addWidget(idle, 2, 1);
    testLayout->addWidget(warning, 3, 0, 1, 2);
    layout->addWidget(test);
    layout->addStretch();
    return column;
}

QWidget *CVelorinDlg::BuildBoardColumn() {
    auto *column = new QWidget(this);
    auto *layout = new QGridLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    QGroupBox *blocks = Group(column, "Velorin IC Config");
    blockGroup_ = new QButtonGroup(this);
    auto *blockLayout = new QVBoxLayout(blocks);
    const QString blockTip = "No register field: the block whose chip the board operations address";
    blockLayout->addWidget(
        Radio(blocks, blockGroup_, 0, "Block A", "blockARadio", id::kBlockARadio, blockTip));
    blockLayout->addWidget(
        Radio(blocks, blockGroup_, 1, "Block B", "blockBRadio", id::kBlockBRadio, blockTip));
    blockLayout->addWidget(
        Radio(blocks, blockGroup_, 2, "Block C", "blockCRadio", id::kBlockCRadio, blockTip));
    blockLayout->addWidget(
        Radio(blocks, blockGroup_, 3, "Block D", "blockDRadio", id::kBlockDRadio, blockTip));
    layout->addWidget(blocks, 0, 0);

    QGroupBox *bytes = Group(column, "Control Byte Values");
    auto *byteLayout = new QVBoxLayout(bytes);
    for (int i = 0; i < 6; ++i) {
        const QString name = QString("byte%1Text").arg(i);
        QLabel *text = Text(bytes, name.toUtf8().constData(), id::kByte0Text + i,
                            QString::fromStdString(core::ByteContentsText(i)));
        byteTexts_[static_cast<size_t>(i)] = text;
        byteLayout->addWidget(text);
    }
    layout->addWidget(bytes, 1, 0);

    QGroupBox *evm = Group(column, "Velorin EVM control");
    auto *evmLayout = new QVBoxLayout(evm);
    const auto button = [&](const char *caption, const char *name, int controlId, const char *tip,
                            auto operation) {
        QPushButton *b = Button(evm, caption, name, controlId, tip);
        connect(b, &QPushButton::clicked, this, [this, operation] { Run(operation); });
        evmLayout->addWidget(b);
    };
    button("Write Velorin\nSettings to RAM", "writeRamButton", id::kWriteRamButton,
           "Sends Byte0\u2013Byte5 to the block's chip RAM (calibration restart when enabled)",
           [this] { model_.WriteSettingsToRam(); });
    button("Write Velorin\nSettings to EEPROM\nNO LOCKING", "writeEepromButton",
           id::kWriteEepromButton, "Writes the RAM, then programs the chip's EEPROM from it",
           [this] { model_.ProgramEeprom(); });
    button("Write Velorin\nSettings to EEPROM\nLOCKING", "writeEepromLockButton",
           id::kWriteEepromLockButton,
           "Programs the chip's EEPROM from what its RAM holds and locks it (type yes)",
           [this] { model_.ProgramAndLockEeprom(); });
    button("Start Read back mode", "readBackModeButton", id::kReadBackModeButton,
           "Puts the block's chip into read-back mode", [this] { model_.StartReadBackMode(); });
    button("Load Config from File", "loadFileButton", id::kLoadFileButton,
           "Reads Byte0\u2013Byte5 from a configuration file into the dialog",
           [this] { model_.LoadConfigFromFile(); });
    button("Save Config to File", "saveFileButton", id::kSaveFileButton,
           "Writes Byte0\u2013Byte5 to a configuration file",
           [this] { model_.SaveConfigToFile(); });
    button("Save Config to EVM", "saveEvmButton", id::kSaveEvmButton,
           "Stores Byte0\u2013Byte5, output enable, termination and block in the board EEPROM at "
           "0xA010",
           [this] { model_.SaveBlockRecord(); });
    power_ = Check(evm, "Enable (on board) Power", "powerCheck", id::kPowerCheck,
                   Tip("Board port 0 bit 1 (active low), on-board power; no register field"));
    terminate_ = Check(evm, "Terminate PECL", "terminatePeclCheck", id::kTerminatePeclCheck,
                       Tip("Board port 0 bit 4 + block, LVPECL termination; no register field"));
    outputEnable_ =
        Check(evm, "Output Enable", "outputEnableCheck", id::kOutputEnableCheck,
              Tip("Board port 1 bit 1 + 2\u00B7block, output enable; no register field"));
    evmLayout->addWidget(power_);
    evmLayout->addWidget(terminate_);
    evmLayout->addWidget(outputEnable_);
    evmLayout->addStretch();
    layout->addWidget(evm, 0, 1, 2, 1);

    auto *usb = new QHBoxLayout;
    led_ = Control(new CDynamicLED(column), "usbLed", id::kUsbLed, "USB communication",
                   "Lit (red) while the board does not answer; no register field");
    led_->setFixedSize(16, 16);
    usb->addWidget(led_);
    usb->addWidget(Caption(column, "USB communication", led_));
    usb->addStretch();
    layout->addLayout(usb, 2, 0, 1, 2);
    layout->setRowStretch(3, 1);
    return column;
}

void CVelorinDlg::Connect() {
    const auto takeForm = [this] { ReadForm(); };
    for (QButtonGroup *group : {vcoGroup_, driverGroup_, blockGroup_})
        connect(group, &QButtonGroup::idClicked, this, takeForm);
    for (QCheckBox *box : {vcoCalEnable_, vcoCalOverride_})
        connect(box, &QCheckBox::clicked, this, takeForm);
    connect(power_, &QCheckBox::clicked, this, [this] { Run([this] { model_.SwitchPower(); }); });
    connect(terminate_, &QCheckBox::clicked, this,
            [this] { Run([this] { model_.SwitchTermination(); }); });
    connect(outputEnable_, &QCheckBox::clicked, this,
            [this] { Run([this] { model_.SwitchOutputEnable(); }); });
    // A final selection in the divider lists updates the feedback divider; the others are taken
    // at once so that the state always holds what the lists show.
    for (QComboBox *list : {prescaler_, outputDivider_}) {
        connect(list, &QComboBox::activated, this,
                [this] { Run([this] { model_.UpdateFeedbackDividerText(); }); });
    }
    for (QComboBox *list : {chargePump_, vcoCalWord_, testSelect_, c1_, c2_, c3_, r2_})
        connect(list, &QComboBox::activated, this, takeForm);
    connect(copyImage_, &QAction::triggered, this, &CVelorinDlg::CopyImage);
}

template <typename F>
void CVelorinDlg::Run(F &&operation) {
    ReadForm();
    operation();
    ShowState();
}

void CVelorinDlg::ReadForm() {
    core::DeviceSettingsState controls = model_.State();
    controls.powerEnable = power_->isChecked() ? 1 : 0;
    controls.terminatePecl = terminate_->isChecked() ? 1 : 0;
    controls.outputEnable = outputEnable_->isChecked() ? 1 : 0;
    controls.vcoCalEnable = vcoCalEnable_->isChecked() ? 1 : 0;
    controls.vcoCalOverride = vcoCalOverride_->isChecked() ? 1 : 0;
    controls.outputType = driverGroup_->checkedId();
    controls.vcoSelect = vcoGroup_->checkedId();
    controls.blockIndex = blockGroup_->checkedId();
    controls.prescaler = prescaler_->currentIndex();
    // The row past the dividers stands for the loaded code it names.
    const int row = outputDivider_->currentIndex();
    if (row != core::OutputDividerRow(controls.outputDividerCode)) controls.outputDividerCode = row;
    controls.chargePump = chargePump_->currentIndex();
    controls.vcoCalWord = vcoCalWord_->currentIndex();
    controls.testSelect = testSelect_->currentIndex();
    controls.c1 = c1_->currentIndex();
    controls.c2 = c2_->currentIndex();
    controls.c3 = c3_->currentIndex();
    controls.r2 = r2_->currentIndex();
    model_.TakeControls(controls);
}

void CVelorinDlg::ShowState() {
    const core::DeviceSettingsState &s = model_.State();
    power_->setChecked(s.powerEnable != 0);
    terminate_->setChecked(s.terminatePecl != 0);
    outputEnable_->setChecked(s.outputEnable != 0);
    vcoCalEnable_->setChecked(s.vcoCalEnable != 0);
    vcoCalOverride_->setChecked(s.vcoCalOverride != 0);
    SetRadio(driverGroup_, s.outputType);
    SetRadio(vcoGroup_, s.vcoSelect);
    SetRadio(blockGroup_, s.blockIndex);
    SetList(prescaler_, s.prescaler);
    const std::vector<std::string> dividers =
        core::ListEntries(SettingsList::OutputDivider, s.outputDividerCode);
    if (outputDivider_->count() != static_cast<int>(dividers.size()) ||
        outputDivider_->itemText(outputDivider_->count() - 1) != FromStd(dividers.back())) {
        outputDivider_->clear();
        for (const std::string &entry : dividers) outputDivider_->addItem(FromStd(entry));
    }
    SetList(outputDivider_, core::OutputDividerRow(s.outputDividerCode));
    SetList(chargePump_, s.chargePump);
    SetList(vcoCalWord_, s.vcoCalWord);
    SetList(testSelect_, s.testSelect);
    SetList(c1_, s.c1);
    SetList(c2_, s.c2);
    SetList(c3_, s.c3);
    SetList(r2_, s.r2);
    for (size_t i = 0; i < byteTexts_.size(); ++i) byteTexts_[i]->setText(FromStd(s.byteTexts[i]));
    loopFilterText_->setText(FromStd(s.loopFilterText));
    feedbackDivider_->setText(FromStd(s.feedbackDividerText));
    inputLow_->setText(FromStd(s.inputLowText));
    inputHigh_->setText(FromStd(s.inputHighText));
    outputLow_->setText(FromStd(s.outputLowText));
    outputHigh_->setText(FromStd(s.outputHighText));
}

void CVelorinDlg::RefreshNow() {
    // A tick can arrive while a message box of a button's sequence runs its own event loop;
    // it then rebuilds from the same controls. It never runs inside itself.
    if (refreshing_) return;
    refreshing_ = true;
    ReadForm();
    const core::RefreshOutcome outcome = model_.Refresh();
    if (outcome.boardLost) {
        led_->TurnOn();
        led_->setAccessibleDescription("lit: the board does not answer");
    } else {
        led_->TurnOff();
        led_->setAccessibleDescription("unlit: the board answers");
    }
    ShowState();
    refreshing_ = false;
}

void CVelorinDlg::CopyImage() {
    Run([this] { model_.BuildRegisterImage(); });
    QGuiApplication::clipboard()->setText(FromStd(model_.ImageDigits()));
}

void CVelorinDlg::done(int) {
    ReadForm();
    timer_->stop();
    QDialog::done(QDialog::Accepted);
}

void CVelorinDlg::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void CVelorinDlg::closeEvent(QCloseEvent *event) {
    done(QDialog::Accepted);
    event->accept();
}

}  // namespace velorin::gui
