// A path typed into the real open dialog that names a named pipe, a device or a socket: the
// favourites load refuses it at once in a message box, and the favourites stay.
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/favourites.h"
#include "app/globals.h"
#include "platform/qt/qt_screen.h"
#include "tests/platform/qt/when_shown.h"
#include "tests/support/special_files.h"
#include "textrope/textrope.h"

namespace {

namespace fs = std::filesystem;

void ListAndAddFavourite(LONG cabNum) {
  CAB_QUEUE->CabNum = cabNum;
  CAB_QUEUE->UserCab = 0;
  CAB_QUEUE->Name = "cab " + std::to_string(cabNum);
  CAB_QUEUE.Add(&CAB_QUEUE_ROW::CabNum);
  AddCabToFavourites();
}

TEST(ProgramFileChoice, WhatIsNotAFileTypedIntoTheOpenDialogLeavesTheFavourites) {
  ResetLibrarianState();
  rt::UseScreen(std::make_unique<qtscreen::QtScreen>());
  for (LONG n : {3, 10, 140}) ListAndAddFavourite(n);
  const fs::path dir = fs::absolute("typed-paths");
  fs::remove_all(dir);
  fs::create_directories(dir);
  test_support::MakeFifo(dir / "fifo.cablist");
  test_support::MakeSocket(dir / "socket.cablist");
  fs::create_symlink("/dev/zero", dir / "zero.cablist");
  const struct {
    const char* file;
    const char* reason;
  } cases[] = {
      {"fifo.cablist", "It is a named pipe, not a file."},
      {"zero.cablist", "It is a device, not a file."},
      {"socket.cablist", "It is a socket, not a file."},
  };
  Textrope ST;
  for (const auto& c : cases) {
    const QString typed = QString::fromStdString((dir / c.file).string());
    QString said;
    qt_test::WhenShown([&](QWidget* dialog) {
      ASSERT_NE(qobject_cast<QFileDialog*>(dialog), nullptr) << c.file;
      qt_test::WhenShown([&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        ASSERT_NE(box, nullptr) << c.file;
        said = box->text();
        box->defaultButton()->click();
      }, dialog);
      auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(edit, nullptr);
      edit->setText(typed);
      QTest::keyClick(edit, Qt::Key_Return);
    });
    GLO::FileName.clear();  // the dialog starts with nothing chosen
    LoadFavourites(ST);
    EXPECT_EQ(said.toStdString(), "The favourites could not be loaded from " + typed.toStdString() + ": " + c.reason);
    ASSERT_EQ(FAV_QUEUE.Records(), 3u) << c.file;
  }
  rt::UseScreen(nullptr);
  fs::remove_all(dir);
}

}  // namespace
