// The lock confirmation and the password dialog, alone and through the real prompts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/base/program_names.h"
#include "core/device/access_rules.h"
#include "core/device/configuration_file.h"
#include "gui/app/file_dialog_setup.h"
#include "gui/app/qt_prompts.h"
#include "gui/device/ee_lock_confirm_dlg.h"
#include "gui/device/password_dlg.h"
#include "screenshots.h"
#include "support/scripted_prompts.h"

namespace velorin::gui {
namespace {

using velorin::testing::ScriptedPrompts;

void Type(QDialog &dialog, const char *editName, const QString &text) {
    auto *edit = dialog.findChild<QLineEdit *>(editName);
    ASSERT_NE(edit, nullptr);
    edit->clear();
    QTest::keyClicks(edit, text);
}

void Press(QDialog &dialog, const char *buttonName) {
    auto *button = dialog.findChild<QPushButton *>(buttonName);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

TEST(LockConfirmDialog, TitleAndEmptyBox) {
    CEELockConfirmDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "EEPROM LOCK CONFIRM");
    EXPECT_TRUE(dialog.findChild<QLineEdit *>("confirmEdit")->text().isEmpty());
    EXPECT_TRUE(dialog.findChild<QPushButton *>("okButton")->isDefault());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(testing::SaveScreenshot(dialog, "lock_confirm_dialog"));
}

TEST(LockConfirmDialog, OkEndsOnlyAfterTheWordYes) {
    for (const char *word : {"yes", "YES", "yEs"}) {
        CEELockConfirmDlg dialog;
        dialog.show();
        Type(dialog, "confirmEdit", word);
        Press(dialog, "okButton");
        EXPECT_FALSE(dialog.isVisible()) << word;
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << word;
        EXPECT_EQ(dialog.ConfirmationText(), word);
    }
    CEELockConfirmDlg dialog;
    dialog.show();
    for (const char *word : {"yes ", "y", ""}) {
        Type(dialog, "confirmEdit", word);
        Press(dialog, "okButton");
        EXPECT_TRUE(dialog.isVisible()) << '"' << word << '"';
        EXPECT_EQ(dialog.findChild<QLineEdit *>("confirmEdit")->text(), word);
    }
}

TEST(LockConfirmDialog, CancelAfterYesDoesNotConfirm) {
    CEELockConfirmDlg dialog;
    dialog.show();
    Type(dialog, "confirmEdit", "yes");
    Press(dialog, "cancelButton");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.ConfirmationText(), "yes");

    // The same through the real prompts, as a caller of the locking sequence sees it.
    QtPrompts prompts;
    QTimer::singleShot(0, [] {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(modal, nullptr);
        Type(*modal, "confirmEdit", "YES");
        Press(*modal, "cancelButton");
    });
    EXPECT_FALSE(prompts.ConfirmLock());
    QTimer::singleShot(0, [] {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(modal, nullptr);
        Type(*modal, "confirmEdit", "YES");
        Press(*modal, "okButton");
    });
    EXPECT_TRUE(prompts.ConfirmLock());
}

TEST(PasswordDialog, TitleHiddenTypingAndScreenshot) {
    ScriptedPrompts prompts;
    CPasswordDlg dialog(prompts);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("\u00BFPassword?"));
    auto *edit = dialog.findChild<QLineEdit *>("passwordEdit");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(testing::SaveScreenshot(dialog, "password_dialog"));
}

TEST(PasswordDialog, EveryCodeIsAcceptedWithoutAMessage) {
    for (std::string_view code : core::AccessCodes) {
        ScriptedPrompts prompts;
        CPasswordDlg dialog(prompts);
        dialog.show();
        Type(dialog, "passwordEdit", QString::fromStdString(std::string(code)));
        Press(dialog, "okButton");
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_TRUE(prompts.shown.empty());
    }
}

TEST(PasswordDialog, WrongPasswordsAreAnsweredAndTheDialogStays) {
    ScriptedPrompts prompts;
    CPasswordDlg dialog(prompts);
    dialog.show();
    const QString code = QString::fromStdString(std::string(core::AccessCodes[2]));
    QString oneOff = code;
    oneOff[19] = oneOff[19] == '0' ? '1' : '0';
    const QStringList wrong = {oneOff, " " + code, code + " ", ""};
    for (const QString &text : wrong) {
        Type(dialog, "passwordEdit", text);
        Press(dialog, "okButton");
        EXPECT_TRUE(dialog.isVisible()) << text.toStdString();
        EXPECT_EQ(dialog.PasswordText(), text);
    }
    ASSERT_EQ(prompts.shown.size(), static_cast<size_t>(wrong.size()));
    for (const core::Message &message : prompts.shown) {
        EXPECT_EQ(message.text, "Password in incorrect!");
        EXPECT_EQ(message.buttons, core::MessageButtons::Ok);
        EXPECT_TRUE(message.caption.empty());  // the application name
    }
    Type(dialog, "passwordEdit", code);
    Press(dialog, "okButton");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(PasswordDialog, CancelEnds) {
    ScriptedPrompts prompts;
    CPasswordDlg dialog(prompts);
    dialog.show();
    Type(dialog, "passwordEdit", QString::fromStdString(std::string(core::AccessCodes[0])));
    Press(dialog, "cancelButton");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(FileDialogSetup, ShowsTheLabelsAndAppliesThePatterns) {
    core::FileRequest request;
    request.filters = {{core::kConfigDocumentFilter, "*.MXRG817A"}, {core::kAllFilesLabel, "*"}};
    request.defaultExtension = "MXRG817A";
    request.initialName = "Config.MXRG817A";
    QFileDialog dialog;
    ConfigureFileDialog(dialog, request, true);
    auto *types = dialog.findChild<QComboBox *>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0), "QVMXRG817A Files (*.MXR817A)");
    EXPECT_EQ(types->itemText(1), "All Files (*.*)");
    auto *model = dialog.findChild<QFileSystemModel *>();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->nameFilters(), QStringList{"*.MXRG817A"});
    EXPECT_EQ(dialog.defaultSuffix(), "MXRG817A");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
}

}  // namespace
}  // namespace velorin::gui
