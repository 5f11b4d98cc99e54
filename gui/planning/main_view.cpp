#include "gui/planning/main_view.h"

#include <QCheckBox>
#include <QCursor>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>

#include "core/base/number_text.h"
#include "core/planning/block_tooltips.h"
#include "core/planning/plan_calculator.h"
#include "core/trace/poll_scope.h"
#include "core/ui/control_ids.h"
#include "core/ui/led_colors.h"
#include "core/ui/main_form_layout.h"
#include "gui/app/application.h"
#include "gui/app/main_frame.h"
#include "gui/device/read_back_dlg.h"
#include "gui/device/velorin_dlg.h"
#include "gui/planning/block_popup_menus.h"
#include "gui/planning/calculator_bars.h"
#include "gui/planning/loop_filter_dlg.h"
#include "gui/planning/xtal_freq_dlg.h"
#include "gui/widgets/bitmap_resources.h"
#include "gui/widgets/color_static.h"
#include "gui/widgets/control_id.h"
#include "gui/widgets/dynamic_led.h"
#include "gui/widgets/transparent_image.h"
#include "gui/widgets/uni_button.h"

namespace velorin::gui {

namespace {

constexpr int kPollPeriodMs = 500;
const QColor kFaceNormal(151, 219, 244);
const QColor kFacePressed(211, 247, 254);

QString Text(const std::string &text) {
    return QString::fromStdString(text);
}

QRect Place(int id) {
    const auto r = core::MainFormRect(id);
    return r ? QRect(r->x, r->y, r->width, r->height) : QRect();
}

template <typename Widget>
Widget *Placed(Widget *widget, int id, const char *name) {
    widget->setObjectName(name);
    SetControlId(widget, id);
    widget->setGeometry(Place(id));
    return widget;
}

// The block's clickable and painted area: the pixels the layout's shape test admits, row by row,
// so that what the user can click is exactly the tested geometry.
QRegion BlockRegion(const core::FormBlock &block) {
    const core::FormRect box{0, 0, block.rect.width, block.rect.height};
    QRegion region;
    for (int y = 0; y < box.height; ++y) {
        int start = -1;
        for (int x = 0; x <= box.width; ++x) {
            const bool inside = x < box.width && core::ShapeContains(block.shape, box, x, y);
            if (inside && start < 0) start = x;
            if (!inside && start >= 0) {
                region += QRect(start, y, x - start, 1);
                start = -1;
            }
        }
    }
    return region;
}

// The block's outline as the layout's shape test draws it: the painted edge of exactly the
// pixels BlockRegion admits, smoothed.
QPainterPath BlockOutline(const core::FormBlock &block) {
    const QRectF box(0, 0, block.rect.width, block.rect.height);
    QPainterPath outline;
    switch (block.shape) {
        case core::BlockShape::Ellipse:
            outline.addEllipse(box);
            break;
        case core::BlockShape::RightTriangle:
            outline.addPolygon(QPolygonF(
                {box.topLeft(), QPointF(box.right(), box.center().y()), box.bottomLeft()}));
            outline.closeSubpath();
            break;
        case core::BlockShape::RoundedRect: {
            const qreal radius = core::kBlockCornerDiameter / 2.0;
            outline.addRoundedRect(box, radius, radius);
            break;
        }
    }
    return outline;
}

void ShowLit(CDynamicLED &led, bool lit) {
    if (led.IsOn() == lit) return;
    lit ? led.TurnOn() : led.TurnOff();
}

}  // namespace

CGuiView::CGuiView(const ProgramServices &services, CMainFrame &frame, QWidget *parent)
    : QWidget(parent),
      services_(services),
      frame_(frame),
      model_(services.board, services.prompts, services.sleeper, services.image) {
    setObjectName("mainView");
    SetControlId(this, ids::kMainForm);
    setAccessibleName("Main control view");
    setFixedSize(core::kMainFormWidth, core::kMainFormHeight);
    BuildForm();
    ConnectControls();
    ConnectFrame();
    timer_.setObjectName("pollTimer");
    connect(&timer_, &QTimer::timeout, this, &CGuiView::PollBoard);
}

CGuiView::~CGuiView() = default;

void CGuiView::BuildForm() {
    EnsureResources();
    auto group = [this](int id, const char *title, const char *name) {
        auto *box = Placed(new QGroupBox(title, this), id, name);
        box->lower();
        return box;
    };
    group(1310, "Velorin Config", "signalPathGroup");
    group(1311, "EVM Optionts", "boardOptionsGroup");
    group(1312, "IC Block Config", "blockGroup");

    auto label = [this](int id, const char *text, const char *name) {
        auto *l = Placed(new QLabel(QString::fromUtf8(text), this), id, name);
        l->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        return l;
    };
    label(1300, "Input\nFrequency\n(Mhz)", "inputFrequencyLabel");
    label(1301, "Output\nFrequency\n(Mhz)", "outputFrequencyLabel");
    label(1302, core::kVcoInputRangeHint, "vcoRangeHint")->setAlignment(Qt::AlignLeft);
    label(1303, "Note: Click on the indivdual blocks to change the device settings.", "noteLabel");
    label(1325, "MXRG817A GUI V1.0 ", "versionLabel");

    const struct {
        int id;
        int bitmap;
    } pictures[] = {
        {1003, bitmaps::kArrowRight}, {1004, bitmaps::kArrowRight}, {1007, bitmaps::kArrowRight},
        {1008, bitmaps::kArrowRight}, {1011, bitmaps::kArrowRight}, {1012, bitmaps::kArrowRight},
        {1013, bitmaps::kArrowRight}, {1017, bitmaps::kArrowDown},  {1018, bitmaps::kArrowLeft}};
    for (const auto &p : pictures) {
        auto *picture = Placed(new CTransparentImage(this), p.id, "signalPathPicture");
        picture->setObjectName(QString("picture%1").arg(p.id));
        picture->SetBitmapResource(p.bitmap);
        picture->setAccessibleName("Signal path");
    }
    terminationPicture_ = Placed(new CTransparentImage(this), ids::main_form::kTerminationPicture,
                                 "terminationPicture");
    terminationPicture_->SetBitmapResource(bitmaps::kTermination);
    terminationPicture_->setAccessibleName("LVPECL termination");

    loopFilter_ =
        Placed(new QPushButton(this), ids::main_form::kLoopFilterPicture, "loopFilterPicture");
    loopFilter_->setFlat(true);
    // The icon takes the picture drawn at twice the size by itself on a screen that needs it.
    loopFilter_->setIcon(QIcon(BitmapResourcePath(bitmaps::kLoopFilterBlock)));
    loopFilter_->setIconSize(Place(ids::main_form::kLoopFilterPicture).size());
    loopFilter_->setAccessibleName("Loop filter");
    loopFilter_->setToolTip(
        QString::fromStdString(core::BlockToolTip(ids::main_form::kLoopFilterPicture)));

    auto block = [this](int id, const char *caption, const char *name) {
        return Placed(new CUniButton(QString::fromUtf8(caption), this), id, name);
    };
    // The decorative VCO goes first so that nothing is ever drawn under it.
    otherVco_ = block(ids::main_form::kOtherVcoBlock, "VCO", "otherVcoBlock");
    otherVco_->setEnabled(false);
    chargePump_ = block(ids::main_form::kChargePumpBlock, "PFD\nCharge\nPump", "chargePumpBlock");
    vco_ = block(ids::main_form::kVcoBlock, "VCO 1", "vcoBlock");
    prescaler_ = block(ids::main_form::kPrescalerBlock, "Prescaler", "prescalerBlock");
    output_ = block(ids::main_form::kOutputBlock, "Output         ", "outputBlock");
    feedbackDivider_ =
        block(ids::main_form::kFeedbackDividerBlock, "Feedback\nDivider", "feedbackBlock");
    outputDivider_ =
        block(ids::main_form::kOutputDividerBlock, "Output\nDivider", "outputDividerBlock");
    for (CUniButton *b :
         {otherVco_, chargePump_, vco_, prescaler_, output_, feedbackDivider_, outputDivider_}) {
        b->setAccessibleName(b->text().simplified());
        b->setToolTip(QString::fromStdString(core::BlockToolTip(ControlIdOf(b))));
    }

    inputEdit_ =
        Placed(new QLineEdit(this), ids::main_form::kInputFrequencyFormEdit, "inputFrequencyEdit");
    inputEdit_->setAccessibleName("Input Frequency (Mhz)");
    outputEdit_ =
        Placed(new QLineEdit(this), ids::main_form::kOutputFrequencyEdit, "outputFrequencyEdit");
    outputEdit_->setAccessibleName("Output Frequency (Mhz)");
    rangeWarning_ = Placed(new CColorStatic("Input beyond\nVCO range!", this),
                           ids::main_form::kRangeWarningLabel, "rangeWarningLabel");
    rangeWarning_->setAccessibleDescription(
        "Shown while the input frequency puts the VCO outside its range");
    rangeWarning_->setToolTip(rangeWarning_->accessibleDescription());

    power_ = Placed(new QCheckBox("Enable on board power", this), ids::main_form::kPowerCheck,
                    "powerCheck");
    calibration_ = Placed(new QCheckBox("Enable VCO Calibration", this),
                          ids::main_form::kCalibrationCheck, "calibrationCheck");
    termination_ = Placed(new QCheckBox("Use LVPECL Termination", this),
                          ids::main_form::kTerminationCheck, "terminationCheck");
    power_->setToolTip("Board port 0 bit 1 (0 = on): the supplies of every block");
    calibration_->setToolTip(
        "Control word bit 31: every chip write first sends it as 0, then "
        "50 ms later as 1, so the chip calibrates its VCO");
    termination_->setToolTip("Board port 0 bits 4-7: the selected block's LVPECL termination");

    usbLed_ = Placed(new CDynamicLED(this), ids::main_form::kUsbLed, "usbLed");
    label(1320, "USB communication   ", "usbLabel")->setBuddy(usbLed_);
    usbLed_->setAccessibleName("USB communication");
    usbLed_->setToolTip("Red while the board cannot be reached");
    for (int b = 0; b < 4; ++b) {
        const QString name = QString("VDD %1").arg(QChar('A' + b));
        vddLeds_[static_cast<size_t>(b)] =
            Placed(new CDynamicLED(this), ids::main_form::kVddLedA + b, "vddLed");
        vddLeds_[static_cast<size_t>(b)]->setObjectName(QString("vddLed%1").arg(QChar('A' + b)));
        vddLeds_[static_cast<size_t>(b)]->setAccessibleName(name);
        vddLeds_[static_cast<size_t>(b)]->setToolTip("Board port 3 bit " + QString::number(b) +
                                                     ": red while block " + QChar('A' + b) +
                                                     " has no supply");
        auto *l = Placed(new QLabel(name, this), 1321 + b, "vddLabel");
        l->setObjectName(QString("vddLabel%1").arg(QChar('A' + b)));
    }

    for (int b = 0; b < 4; ++b) {
        auto *radio = Placed(new QRadioButton(QString("Block %1").arg(QChar('A' + b)), this),
                             ids::main_form::kBlockRadioA + b, "blockRadio");
        radio->setObjectName(QString("blockRadio%1").arg(QChar('A' + b)));
        radio->setToolTip("The chip that every write, port switch and EEPROM command addresses");
        blocks_[static_cast<size_t>(b)] = radio;
    }
    blocks_[3]->hide();
    auto *advanced = Placed(new QPushButton("Advanced Control...", this),
                            ids::main_form::kAdvancedControlButton, "advancedControlButton");
    advanced->setToolTip("Every field of the chip, its six bytes and the board operations");
    connect(advanced, &QPushButton::clicked, this, &CGuiView::OnOpenAdvancedControl);

    menus_ = new BlockPopupMenus(this);
    ShapeBlocks();
    rangeWarning_->hide();
    terminationPicture_->hide();
}

void CGuiView::ShapeBlocks() {
    for (const core::FormBlock &b : core::MainFormBlocks()) {
        for (CUniButton *button : findChildren<CUniButton *>()) {
            if (ControlIdOf(button) != b.id) continue;
            button->SetRegionAndColors(BlockRegion(b), kFaceNormal, kFacePressed, kFacePressed,
                                       kFaceNormal);
            button->SetOutline(BlockOutline(b));
        }
    }
}

void CGuiView::ConnectControls() {
    connect(chargePump_, &QPushButton::clicked, this,
            [this] { PopUpAtPointer(static_cast<int>(BlockPopupMenus::Submenu::ChargePump)); });
    connect(prescaler_, &QPushButton::clicked, this,
            [this] { PopUpAtPointer(static_cast<int>(BlockPopupMenus::Submenu::Prescaler)); });
    connect(outputDivider_, &QPushButton::clicked, this,
            [this] { PopUpAtPointer(static_cast<int>(BlockPopupMenus::Submenu::OutputDivider)); });
    connect(menus_, &BlockPopupMenus::commandChosen, this, &CGuiView::OnSettingCommand);
    connect(vco_, &QPushButton::clicked, this, [this] {
        ReadForm();
        model_.ToggleVco();
        ShowDisplay();
    });
    connect(output_, &QPushButton::clicked, this, [this] {
        ReadForm();
        model_.ToggleOutputType();
        ShowDisplay();
    });
    connect(feedbackDivider_, &QPushButton::clicked, this, [this] {
        services_.prompts.Tell(
            "The feedback divider setting is automatically\nset according to the prescaler "
            "setting.");
    });
    connect(loopFilter_, &QPushButton::clicked, this, &CGuiView::OnOpenLoopFilter);
    connect(termination_, &QCheckBox::clicked, this, [this] {
        ReadForm();
        model_.ApplyTermination();
        ShowDisplay();
    });
    connect(power_, &QCheckBox::clicked, this, [this] {
        ReadForm();
        model_.ApplyPowerEnable();
        ShowDisplay();
    });
    for (QRadioButton *radio : blocks_) {
        connect(radio, &QRadioButton::clicked, this, &CGuiView::OnBlockSelected);
    }
}

void CGuiView::ConnectFrame() {
    frame_.ConnectViewCommand(ids::kWriteEepromNoLock, [this] { OnWriteEepromNoLock(); });
    frame_.ConnectViewCommand(ids::kWriteEepromLock, [this] { OnWriteEepromLock(); });
    frame_.ConnectViewCommand(ids::kReadDeviceSettings, [this] { OnReadDeviceSettings(); });
    frame_.ConnectViewCommand(ids::kSaveCrystalFrequency, [this] { OnSaveCrystalFrequency(); });
    frame_.ConnectExportSettings(services_.prompts, services_.image,
                                 [this] { return model_.State().blockIndex; });
    COutputCalculatorBar *outputs = frame_.OutputCalculator();
    connect(outputs, &COutputCalculatorBar::calculateRequested, this,
            [this] { OnCalculateOutputs(); });
    connect(outputs, &COutputCalculatorBar::applyRequested, this,
            [this] { OnApplyOutputCalculation(); });
    outputs->SetButtonsEnabled(true);
    CInputCalculatorBar *inputs = frame_.InputCalculator();
    connect(inputs, &CInputCalculatorBar::calculateRequested, this, [this] { OnCalculateInput(); });
    connect(inputs, &CInputCalculatorBar::applyRequested, this,
            [this] { OnApplyInputCalculation(); });
    inputs->SetButtonsEnabled(true);
}

void CGuiView::PopUpAtPointer(int submenu) {
    menus_->PopUp(static_cast<BlockPopupMenus::Submenu>(submenu), QCursor::pos());
}

void CGuiView::ReadForm() {
    core::MainViewState &s = model_.State();
    s.inputText = inputEdit_->text().toStdString();
    s.outputText = outputEdit_->text().toStdString();
    for (int b = 0; b < 4; ++b) {
        if (blocks_[static_cast<size_t>(b)]->isChecked()) s.blockIndex = b;
    }
    s.terminationOn = termination_->isChecked();
    s.powerOn = power_->isChecked();
    s.vcoCalibrationOn = calibration_->isChecked();
}

void CGuiView::ShowState() {
    const core::MainViewState &s = model_.State();
    // Only changed texts are put back, so that the cursor of an edit being typed in stays put.
    if (inputEdit_->text() != Text(s.inputText)) inputEdit_->setText(Text(s.inputText));
    if (outputEdit_->text() != Text(s.outputText)) outputEdit_->setText(Text(s.outputText));
    blocks_[static_cast<size_t>(s.blockIndex & 3)]->setChecked(true);
    termination_->setChecked(s.terminationOn);
    power_->setChecked(s.powerOn);
    calibration_->setChecked(s.vcoCalibrationOn);
}

void CGuiView::ShowDisplay() {
    ShowState();
    const core::MainViewDisplay &d = model_.Display();
    const auto value = [](CUniButton *button, const std::string &text) {
        if (button->ValueText() != Text(text)) button->SetValueText(Text(text));
    };
    value(chargePump_, d.chargePumpText);
    value(prescaler_, d.prescalerText);
    value(feedbackDivider_, d.feedbackDividerText);
    value(outputDivider_, d.outputDividerText);
    value(output_, d.outputTypeText);
    value(vco_, d.vcoText);
    if (vco_->text() != Text(d.vcoCaption)) {
        vco_->setText(Text(d.vcoCaption));
        vco_->setAccessibleName(Text(d.vcoCaption));
    }
    ShowLit(*usbLed_, d.usbLedLit);
    for (size_t b = 0; b < 4; ++b) ShowLit(*vddLeds_[b], d.vddLedLit[b]);
    if (blocks_[3]->isVisibleTo(this) != d.blockDVisible) blocks_[3]->setVisible(d.blockDVisible);
    if (rangeWarning_->isVisibleTo(this) != d.rangeWarningVisible)
        rangeWarning_->setVisible(d.rangeWarningVisible);
    if (terminationPicture_->isVisibleTo(this) != d.terminationPictureVisible)
        terminationPicture_->setVisible(d.terminationPictureVisible);
    inputEdit_->setEnabled(d.inputEditEnabled);
    frame_.SetMessagePaneText(Text(model_.StatusMessage()));
}

void CGuiView::OnInitialUpdate() {
    ShowState();
    model_.InitialUpdate();
    ShapeBlocks();
    // Red when lit, green when unlit, round, steady.
    usbLed_->SetLed(core::LedColorRed, core::LedShapeRound);
    for (CDynamicLED *led : vddLeds_) led->SetLed(core::LedColorRed, core::LedShapeRound);
    timer_.start(kPollPeriodMs);
    ShowDisplay();
}

void CGuiView::PollBoard() {
    const core::PollScope poll;
    ReadForm();
    model_.PollBoard();
    ShowDisplay();
}

void CGuiView::OnSettingCommand(int commandId) {
    ReadForm();
    model_.RunSettingCommand(commandId);
    ShowDisplay();
}

void CGuiView::OnBlockSelected() {
    ReadForm();
    const auto crystal = model_.SelectBlock();
    if (crystal) {
        frame_.OutputCalculator()->SetInputFrequency(*crystal);
        ShowDisplay();
        OnCalculateOutputs();
    }
    ShowDisplay();
}

void CGuiView::OnCalculateOutputs() {
    COutputCalculatorBar *bar = frame_.OutputCalculator();
    const core::OutputCalculation calculation =
        core::MainViewModel::CalculateOutputs(bar->InputFrequency());
    bar->ShowOutputs(calculation.lines, calculation.fieldText);
}

void CGuiView::OnCalculateInput() {
    const auto required = model_.CalculateInput(frame_.InputCalculator()->DesiredOutput());
    if (required) frame_.InputCalculator()->SetRequiredInput(*required);
}

void CGuiView::OnApplyOutputCalculation() {
    ReadForm();
    COutputCalculatorBar *bar = frame_.OutputCalculator();
    model_.ApplyOutputCalculation(bar->InputFrequency(), bar->ChosenOutput());
    ShowDisplay();
}

void CGuiView::OnApplyInputCalculation() {
    ReadForm();
    model_.ApplyInputCalculation();
    ShowDisplay();
}

void CGuiView::OnSaveCrystalFrequency() {
    ReadForm();
    CXtalFreqDlg dialog(
        [this](const std::string &typed) { return model_.SaveCrystalFrequency(typed); }, this);
    if (dialog.exec() == QDialog::Accepted) model_.LoadCrystalFrequency();
    ShowDisplay();
}

void CGuiView::OnWriteEepromNoLock() {
    ReadForm();
    model_.WriteEepromNoLock();
    ShowDisplay();
}

void CGuiView::OnWriteEepromLock() {
    ReadForm();
    model_.WriteEepromLock();
    ShowDisplay();
}

void CGuiView::OnOpenLoopFilter() {
    ReadForm();
    CLoopFilterDlg dialog(model_.LoopFilterRequestNow(), services_.prompts, this);
    // An input field without a positive number leaves the phase noise waiting for one.
    dialog.SetNoisePlan(core::LeadingNumber(model_.State().inputText),
                        model_.State().outputDividerValue);
    if (dialog.exec() == QDialog::Accepted) model_.ApplyLoopFilter(dialog.Choice());
    ShowDisplay();
}

void CGuiView::OnOpenAdvancedControl() {
    ReadForm();
    core::DeviceSettingsChoice choice{};
    {
        CVelorinDlg dialog(services_, model_.State().blockIndex, this);
        dialog.exec();
        choice = dialog.Choice();
    }
    // However the dialog ended, the view takes back its block, driver and VCO.
    model_.TakeBackAdvancedControl(choice.blockIndex, choice.outputType, choice.vcoSelect);
    ShowDisplay();
}

void CGuiView::OnReadDeviceSettings() {
    ReadForm();
    ReadBackDlg dialog(services_, model_.State().blockIndex, this);
    dialog.exec();
    ShowDisplay();
}

void UseMainView(CQVVelorinCtrlGuiApp &program) {
    program.SetViewFactory([&program](CMainFrame &frame, const ProgramServices &services) {
        auto *view = new CGuiView(services, frame);
        QObject::connect(&program, &CQVVelorinCtrlGuiApp::documentReset, view,
                         &CGuiView::OnInitialUpdate);
        return view;
    });
}

void CGuiView::paintEvent(QPaintEvent *event) {
    QWidget::paintEvent(event);
    // The feedback wire from the feedback divider back into the PFD, with its arrowhead.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    const auto wire = core::FeedbackWire();
    for (size_t i = 1; i < wire.size(); ++i) {
        painter.drawLine(wire[i - 1].x, wire[i - 1].y, wire[i].x, wire[i].y);
    }
    const core::FormPoint tip = wire.back();
    QPolygon head(
        {QPoint(tip.x, tip.y), QPoint(tip.x - 6, tip.y + 10), QPoint(tip.x + 6, tip.y + 10)});
    painter.setBrush(Qt::black);
    painter.drawPolygon(head);
}

}  // namespace velorin::gui
