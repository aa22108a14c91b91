// Each runtime dialog answered through the real Qt dialog, driven as a user would.
#include "platform/qt/dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <regex>
#include <gtest/gtest.h>

#include "tests/platform/qt/when_shown.h"

namespace qtscreen {
namespace {

using qt_test::WhenShown;

QPushButton* ButtonLabelled(QWidget* box, const QString& label) {
  for (QPushButton* b : box->findChildren<QPushButton*>()) {
    if (b->text().remove(QLatin1Char('&')) == label) return b;
  }
  ADD_FAILURE() << "no button " << label.toStdString();
  return nullptr;
}

TEST(MessageDialog, AnswersWithTheChosenButtonInTheProgramsOrder) {
  struct Case {
    std::vector<std::string> buttons;
    int defaultButton;
    std::function<void(QWidget*)> user;
    int answer;
  };
  const Case cases[] = {
      {{"Yes", "No"}, 2, [](QWidget* box) { ButtonLabelled(box, "Yes")->click(); }, 1},
      {{"Yes", "No"}, 2, [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }, 2},  // the default
      {{"Yes", "No"}, 1, [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); }, 2},  // Esc means No
      {{"Yes", "No", "Cancel"}, 1, [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); }, 3},
      {{"OK"}, 1, [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); }, 1},
      {{"Show", "Mail", "Close"}, 3, [](QWidget* box) { ButtonLabelled(box, "Mail")->click(); }, 2},
      // Esc and the close box end a box as its OK does, and a confirmation with its safe answer.
      {{"&OK", "&Details", "&Email Report"}, 1, [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); }, 1},
      {{"&Email Report", "&OK"}, 1, [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); }, 2},
      {{"&OK", "&Details", "&Email Report"}, 1, [](QWidget* box) { box->close(); }, 1},
      {{"Yes", "No"}, 1, [](QWidget* box) { box->close(); }, 2},
      {{"Abort", "Ignore"}, 2, [](QWidget* box) {
         QTest::keyClick(box, Qt::Key_Escape);
         box->close();
         EXPECT_TRUE(box->isVisible());  // neither is a safe answer: only a button ends it
         ButtonLabelled(box, "Abort")->click();
       }, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.buttons.size() * 10 + static_cast<std::size_t>(c.answer));
    std::vector<int> order;
    WhenShown([&](QWidget* box) {
      for (const std::string& label : c.buttons)
        order.push_back(ButtonLabelled(box, QString::fromStdString(label).remove(QLatin1Char('&')))->x());
      c.user(box);
    });
    rt::MessageRequest request{.text = "Clear all cabs?", .caption = "Confirm", .icon = "exclamation",
                               .buttons = c.buttons, .defaultButton = c.defaultButton};
    EXPECT_EQ(ShowMessage(request), c.answer);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
  }
}

TEST(MessageDialog, ShowsTheTextCaptionAndIcon) {
  struct Case {
    const char* icon;
    QMessageBox::Icon shown;
  };
  for (Case c : {Case{"exclamation", QMessageBox::Warning}, Case{"asterisk", QMessageBox::Information},
                 Case{"hand", QMessageBox::Critical}, Case{"question", QMessageBox::Question},
                 Case{"", QMessageBox::NoIcon}}) {
    SCOPED_TRACE(c.icon);
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text, caption;
    WhenShown([&](QWidget* widget) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      ASSERT_NE(box, nullptr);
      icon = box->icon();
      text = box->text();
      caption = box->windowTitle();
      box->defaultButton()->click();
    });
    ShowMessage({.text = "Invalid CAB File Detected!\r\nSecond line", .caption = "Error Uploading Cab", .icon = c.icon, .buttons = {"OK"}});
    EXPECT_EQ(icon, c.shown);
    EXPECT_EQ(text, "Invalid CAB File Detected!\nSecond line");
    EXPECT_EQ(caption, "Error Uploading Cab");
  }
}

TEST(MessageDialog, ATextTallerThanTheScreenScrollsBothWaysAndTheButtonsStayOnIt) {
  std::string report = "This program has performed an illegal operation and will now end.";
  for (int line = 1; line <= 400; ++line) report += "\r\n[" + std::to_string(line) + "] a frame of the stack trace";
  report += "\r\nSrc=" + std::string(400, 'd') + "/source.cpp";
  struct Seen {
    QString text;
    bool vertical = false, horizontal = false, onScreen = false, buttonsOnScreen = true;
  };
  for (int answer : {1, 2}) {
    Seen seen;
    WhenShown([&](QWidget* box) {
      auto* view = box->findChild<QPlainTextEdit*>();
      ASSERT_NE(view, nullptr);
      seen.text = view->toPlainText();
      seen.vertical = view->verticalScrollBar()->isVisible();
      seen.horizontal = view->horizontalScrollBar()->isVisible();
      const QRect available = box->screen()->availableGeometry();
      seen.onScreen = available.contains(box->frameGeometry());
      for (QPushButton* b : box->findChildren<QPushButton*>())
        seen.buttonsOnScreen = seen.buttonsOnScreen && available.contains(QRect(b->mapToGlobal(QPoint(0, 0)), b->size()));
      if (answer == 1) {
        QTest::keyClick(box, Qt::Key_Escape);  // as OK
      } else {
        ButtonLabelled(box, "Email Report")->click();
      }
    });
    EXPECT_EQ(ShowMessage({.text = report, .caption = "", .icon = "asterisk", .buttons = {"&OK", "&Email Report"}}), answer);
    EXPECT_EQ(seen.text.toStdString(), std::regex_replace(report, std::regex("\r\n"), "\n"));
    EXPECT_TRUE(seen.vertical);
    EXPECT_TRUE(seen.horizontal);
    EXPECT_TRUE(seen.onScreen);
    EXPECT_TRUE(seen.buttonsOnScreen);
  }
}

class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    QFile existing(Path("favs.cablist"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  }
  QString Path(const char* name) const { return QDir(folder_.path()).filePath(QString::fromLatin1(name)); }

  // Types a name into the dialog and presses Enter.
  static void TypeName(QWidget* dialog, const QString& name) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
    QTest::keyClick(edit, Qt::Key_Return);
  }

  rt::FileRequest Request(rt::FileRequest::Kind kind) const {
    return {.kind = kind, .title = "Load Favourites", .file = Path("").toStdString(),
            .filters = {{"Cabs List (*.cablist)", "*.cablist"}, {"All Files", "*.*"}}, .defaultExtension = "cablist"};
  }

  QTemporaryDir folder_;
};

TEST_F(FileDialogTest, OpenGivesTheChosenExistingFile) {
  rt::FileRequest request = Request(rt::FileRequest::Kind::Open);
  request.mustExist = true;
  QStringList filters;
  WhenShown([&](QWidget* dialog) {
    filters = qobject_cast<QFileDialog*>(dialog)->nameFilters();
    TypeName(dialog, QStringLiteral("favs.cablist"));
  });
  EXPECT_EQ(ShowFileDialog(request), Path("favs.cablist").toStdString());
  EXPECT_EQ(filters, (QStringList{"Cabs List (*.cablist)", "All Files (*.*)"}));
}

TEST_F(FileDialogTest, OpenRefusesAMissingFileWhenItMustExist) {
  rt::FileRequest request = Request(rt::FileRequest::Kind::Open);
  request.mustExist = true;
  bool stillOpen = false;
  WhenShown([&](QWidget* dialog) {
    // A name that does not exist is refused with a note, and the dialog stays.
    WhenShown([&, dialog](QWidget* note) {
      QTest::keyClick(note, Qt::Key_Return);
      QTimer::singleShot(0, dialog, [&, dialog] {
        stillOpen = dialog->isVisible();
        qobject_cast<QDialog*>(dialog)->reject();
      });
    }, dialog);
    TypeName(dialog, QStringLiteral("missing.cablist"));
  });
  EXPECT_EQ(ShowFileDialog(request), std::nullopt);
  EXPECT_TRUE(stillOpen);
}

TEST_F(FileDialogTest, SaveAddsTheDefaultExtension) {
  WhenShown([](QWidget* dialog) { TypeName(dialog, QStringLiteral("new favourites")); });
  EXPECT_EQ(ShowFileDialog(Request(rt::FileRequest::Kind::Save)), Path("new favourites.cablist").toStdString());
}

TEST_F(FileDialogTest, SaveAsksBeforeReplacingOnlyWhenTold) {
  rt::FileRequest request = Request(rt::FileRequest::Kind::Save);
  request.overwritePrompt = true;
  bool asked = false;
  WhenShown([&](QWidget* dialog) {
    WhenShown([&](QWidget* question) {
      asked = true;
      ButtonLabelled(question, "Yes")->click();
    }, dialog);
    TypeName(dialog, QStringLiteral("favs"));
  });
  EXPECT_EQ(ShowFileDialog(request), Path("favs.cablist").toStdString());
  EXPECT_TRUE(asked);

  request.overwritePrompt = false;
  WhenShown([](QWidget* dialog) { TypeName(dialog, QStringLiteral("favs")); });
  EXPECT_EQ(ShowFileDialog(request), Path("favs.cablist").toStdString());
}

TEST_F(FileDialogTest, CancelGivesNothing) {
  WhenShown([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
  EXPECT_EQ(ShowFileDialog(Request(rt::FileRequest::Kind::Open)), std::nullopt);
}

TEST(PopupMenu, CountsEntriesButNotSeparators) {
  const rt::PopupRequest menu{{"Select On Axe-FX", "-", "Remove From Favourites", "Clear Favourites List"}};
  QStringList shown;
  WhenShown([&](QWidget* popup) {
    for (QAction* action : qobject_cast<QMenu*>(popup)->actions()) shown << (action->isSeparator() ? "-" : action->text());
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
  });
  EXPECT_EQ(ShowPopup(menu), 2);
  EXPECT_EQ(shown, (QStringList{"Select On Axe-FX", "-", "Remove From Favourites", "Clear Favourites List"}));

  WhenShown([](QWidget* popup) { QTest::keyClick(popup, Qt::Key_Escape); });
  EXPECT_EQ(ShowPopup(menu), 0);
}

}  // namespace
}  // namespace qtscreen
