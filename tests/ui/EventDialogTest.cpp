// The event list dialog, event files and the catalogue they read.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <cstring>

#include "pages/CustomEventDlg.h"
#include "pages/EventCatalogue.h"
#include "resources/Resource.h"
#include "tests/support/Wizard.h"
#include "ui/ListView.h"
#include "ui/Services.h"
#include "ui/qt/Testing.h"

using namespace layout;
using Mask = std::array<std::uint8_t, kEventMaskSize>;

namespace {

// A catalogue with the names given (by event number) and "" for the rest.
void SetCatalogue(DeviceData& d, const std::map<int, std::string>& named) {
    EventNames names;
    for (const auto& [event, name] : named) names[static_cast<std::size_t>(event)] = name;
    d.eventCatalogue.fill(0xEE);
    WriteCatalogue(d.eventCatalogue.data(), kEventCatalogueSize, names);
}

std::vector<int> Events(ui::Window& dialog, int listId) {
    std::vector<int> events;
    ui::ListView* list = dialog.GetListView(listId);
    for (int row = 0; row < list->GetItemCount(); ++row)
        events.push_back(static_cast<int>(list->GetItemData(row)));
    std::sort(events.begin(), events.end());
    return events;
}

void Select(ui::Window& dialog, int listId, int event) {
    ui::ListView* list = dialog.GetListView(listId);
    for (int row = 0; row < list->GetItemCount(); ++row)
        if (list->GetItemData(row) == event) list->SetItemSelected(row, true);
}

// A wizard whose unit has been found, so that the dialog has a sheet to take its texts from.
struct EventDialog : ::testing::Test {
    void SetUp() override {
        w.Start();
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    }
    // Runs the dialog on `mask`; `act` plays the installer and ends it.
    int Run(Mask& mask, int filter, std::function<void(ui::Window&)> act) {
        w.OnDialog(std::move(act));
        return CCustomEventDlg(mask.data(), filter, "4930123", 0).DoModal();
    }
    Wizard w;
};

std::map<int, std::string> AllNamed() {
    std::map<int, std::string> named;
    for (int e = 1; e < kEventCount; ++e) named[e] = "Event " + std::to_string(1000 + e);
    return named;
}

const std::vector<int> kBasic = {1, 18, 19, 20, 21, 22, 25, 26, 29, 32, 43, 54, 72, 78, 82, 110};

}  // namespace

TEST_F(EventDialog, EmptyNamesBasicAndAdvancedViews) {
    SetCatalogue(w.data, {{1, "A"}, {2, "B"}, {18, "Mains"}, {110, "Power up"}, {151, "Last"}});
    Mask mask{};
    Run(mask, 0, [&](ui::Window& d) {
        EXPECT_EQ(d.GetWindowText(), "4930123");
        EXPECT_TRUE(Events(d, IDC_SEND_LIST).empty());
        EXPECT_EQ(Events(d, IDC_POOL_LIST), (std::vector<int>{1, 18, 110}));  // named and basic
        Wizard::ScreenshotWindow(d, "events-basic");
        Wizard::Click(d, IDC_ADVANCE);
        EXPECT_EQ(Events(d, IDC_POOL_LIST), (std::vector<int>{1, 2, 18, 110, 151}));
        EXPECT_EQ(d.GetDlgItemText(IDC_ADVANCE), LangText("English.ini", "906"));
        Wizard::ScreenshotWindow(d, "events-advanced");
        Select(d, IDC_POOL_LIST, 2);
        Select(d, IDC_POOL_LIST, 151);
        Wizard::Click(d, IDC_EVENTS_LEFT);
        EXPECT_EQ(Events(d, IDC_SEND_LIST), (std::vector<int>{2, 151}));
        Wizard::Click(d, IDC_ADVANCE);  // the choice survives the switch
        EXPECT_EQ(Events(d, IDC_SEND_LIST), (std::vector<int>{2, 151}));
        Wizard::Click(d, ui::IDOK);
    });
    EXPECT_EQ(mask[0], 0x04);
    EXPECT_EQ(mask[18], 0x80);
    EXPECT_EQ(mask[19], 0x00);
}

TEST_F(EventDialog, BasicViewEmptyMaskOffersExactlyTheNamedBasicEvents) {
    SetCatalogue(w.data, AllNamed());
    Mask mask{};
    Run(mask, 0, [&](ui::Window& d) {
        EXPECT_EQ(Events(d, IDC_POOL_LIST), kBasic);
        // Rows are kept in name order.
        const Rows rows = Wizard::Rows(d, IDC_POOL_LIST);
        Rows sorted = rows;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(rows, sorted);
        Wizard::Click(d, ui::IDCANCEL);
    });
}

TEST_F(EventDialog, NonBasicEventMovedRightInBasicViewDropsOut) {
    SetCatalogue(w.data, AllNamed());
    Mask mask{};
    EventMaskSet(EventMask(mask), 50, true);  // not a basic event
    EventMaskSet(EventMask(mask), 1, true);
    Run(mask, 0, [&](ui::Window& d) {
        EXPECT_EQ(Events(d, IDC_SEND_LIST), (std::vector<int>{1, 50}));
        Select(d, IDC_SEND_LIST, 50);
        Select(d, IDC_SEND_LIST, 1);
        Wizard::Click(d, IDC_EVENTS_RIGHT);
        EXPECT_TRUE(Events(d, IDC_SEND_LIST).empty());
        const auto pool = Events(d, IDC_POOL_LIST);
        EXPECT_EQ(std::count(pool.begin(), pool.end(), 50), 0);
        EXPECT_EQ(std::count(pool.begin(), pool.end(), 1), 1);
        Wizard::Click(d, ui::IDOK);
    });
    EXPECT_EQ(mask, Mask{});
}

TEST_F(EventDialog, FilterHidesAndUnselects) {
    SetCatalogue(w.data, AllNamed());
    std::memset(&w.data.identReply[kIdentEventFilterMask], 0, kEventMaskSize);
    EventMaskSet(EventMask(&w.data.identReply[kIdentEventFilterMask], kEventMaskSize), 20, true);
    EventMaskSet(EventMask(&w.data.identReply[kIdentEventFilterMask], kEventMaskSize), 60, true);
    Mask mask{};
    EventMaskSet(EventMask(mask), 60, true);
    EventMaskSet(EventMask(mask), 70, true);  // filtered out
    Run(mask, 1, [&](ui::Window& d) {
        EXPECT_EQ(Events(d, IDC_SEND_LIST), (std::vector<int>{60}));
        EXPECT_EQ(Events(d, IDC_POOL_LIST), (std::vector<int>{20}));
        Wizard::Click(d, ui::IDOK);
    });
    Mask expected{};
    EventMaskSet(EventMask(expected), 60, true);
    EXPECT_EQ(mask, expected);
}

TEST_F(EventDialog, SaveThenOpenAndShortFiles) {
    SetCatalogue(w.data, AllNamed());
    const std::filesystem::path path = w.dir.File("config.qbx");
    Mask mask{};
    for (int e : {1, 19, 151}) EventMaskSet(EventMask(mask), e, true);
    ui::FileDialogOptions asked;
    ui::automation().onFileDialog = [&](const ui::FileDialogOptions& options, bool) {
        asked = options;
        return path;
    };
    Run(mask, 0, [&](ui::Window& d) {
        Wizard::Click(d, IDC_EVENTS_SAVE);
        Wizard::Click(d, ui::IDCANCEL);  // a file already written stays written
    });
    EXPECT_EQ(asked.defaultExtension, "qbx");
    EXPECT_EQ(asked.proposedName, "config");
    EXPECT_EQ(asked.filterLabel, "Config for Qubrin (*.qbx)");
    const std::string bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 20u);
    EXPECT_EQ(bytes[19], 0);
    EXPECT_EQ(std::memcmp(bytes.data(), mask.data(), 20), 0);

    EXPECT_EQ(asked.startFolder, w.dir.path());

    // Windows' Open dialog moves the current folder to the file's; the wizard's stays where
    // its language files are.
    const std::filesystem::path elsewhere = w.dir.path() / "Documents";
    std::filesystem::create_directory(elsewhere);
    ui::automation().onFileDialog = [&](const ui::FileDialogOptions&, bool) {
        std::filesystem::current_path(elsewhere);
        return path;
    };
    Mask other{};
    Run(other, 0, [&](ui::Window& d) {
        Wizard::Click(d, IDC_EVENTS_OPEN);
        EXPECT_EQ(Events(d, IDC_SEND_LIST), (std::vector<int>{1, 19, 151}));
        Wizard::Click(d, ui::IDOK);
    });
    EXPECT_EQ(other, mask);
    EXPECT_EQ(std::filesystem::current_path(), w.dir.path());

    // Where nothing can be written (an installed program's folder) the dialogs start in the
    // user's documents. A folder removed under the program cannot be written even by root.
    const std::filesystem::path gone = w.dir.path() / "gone";
    std::filesystem::create_directory(gone);
    std::filesystem::current_path(gone);
    std::filesystem::remove(gone);
    ui::automation().onFileDialog = [&](const ui::FileDialogOptions& options, bool) {
        asked = options;
        return std::filesystem::path();
    };
    Run(other, 0, [&](ui::Window& d) {
        Wizard::Click(d, IDC_EVENTS_SAVE);
        Wizard::Click(d, ui::IDOK);
    });
    std::filesystem::current_path(w.dir.path());
    EXPECT_EQ(asked.startFolder, ui::UserDocumentsDirectory());
    EXPECT_NE(asked.startFolder, gone);
    ui::automation().onFileDialog = [&](const ui::FileDialogOptions&, bool) { return path; };

    // A ten-byte file is no event file: a message names its size, and the selection stays.
    ASSERT_TRUE(WriteBytes(path, std::string(10, '\0')));
    Mask full;
    full.fill(0);
    for (int e = 1; e < kEventCount; ++e) EventMaskSet(EventMask(full), e, true);
    const Mask before = full;
    w.messages.clear();
    Run(full, 0, [&](ui::Window& d) {
        Wizard::Click(d, IDC_EVENTS_OPEN);
        EXPECT_EQ(Events(d, IDC_SEND_LIST).size(), 151u);
        Wizard::Click(d, ui::IDOK);
    });
    EXPECT_EQ(full, before);
    ASSERT_EQ(w.messages.size(), 2u);  // its text and caption
    EXPECT_NE(w.messages[0].find("holds 10 bytes"), std::string::npos) << w.messages[0];

    // A folder named like an event file: a message, and the selection stays.
    std::filesystem::create_directory(w.dir.path() / "folder.qbx");
    ui::automation().onFileDialog = [&](const ui::FileDialogOptions&, bool) {
        return std::filesystem::path(w.dir.File("folder.qbx"));
    };
    Mask kept = mask;
    Run(kept, 0, [&](ui::Window& d) {
        Wizard::Click(d, IDC_EVENTS_OPEN);
        Wizard::Click(d, ui::IDOK);
    });
    EXPECT_EQ(kept, mask);
    ASSERT_FALSE(w.messages.empty());
}

TEST_F(EventDialog, RenamesKeepHiddenNamesAndCancelKeepsTheCatalogue) {
    SetCatalogue(w.data, AllNamed());
    std::memset(&w.data.identReply[kIdentEventFilterMask], 0xFF, kEventMaskSize);
    EventMaskSet(EventMask(&w.data.identReply[kIdentEventFilterMask], kEventMaskSize), 18, false);
    const auto before = w.data.eventCatalogue;
    Mask mask{};
    Run(mask, 1, [&](ui::Window& d) {
        ui::ListView* pool = d.GetListView(IDC_POOL_LIST);
        pool->onEndLabelEdit(0, "Renamed");
        Wizard::Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(w.data.eventCatalogue, before);

    Run(mask, 1, [&](ui::Window& d) {
        ui::ListView* pool = d.GetListView(IDC_POOL_LIST);
        // Rename in place, as the installer does with F2. An empty name is a cancelled rename.
        QTreeWidget* tree = ui::TreeOf(pool);
        tree->setFocus();
        pool->EditLabel(1);
        auto* editor = tree->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClick(editor, Qt::Key_Return);
        Wizard::Settle();
        EXPECT_EQ(pool->GetItemText(1), "Event 1019");
        pool->EditLabel(0);
        editor = tree->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        // A letter Windows-1252 lacks is refused as it is typed.
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QStringLiteral(u"\u017C"),
                            Qt::NoModifier);
        EXPECT_EQ(editor->text(), QStringLiteral("Event 1001"));
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, std::string(80, 'R').c_str());
        QTest::keyClick(editor, Qt::Key_Return);
        Wizard::Settle();  // the edit is committed once the key has been handled
        EXPECT_EQ(pool->GetItemText(0), std::string(80, 'R'));
        Wizard::Click(d, ui::IDOK);
    });
    const EventNames names = CatalogueNames(w.data.eventCatalogue.data(), kEventCatalogueSize);
    EXPECT_EQ(names[1], std::string(69, 'R'));  // event 1 is the first basic row
    EXPECT_EQ(names[18], "Event 1018");         // hidden by the filter, kept
    EXPECT_EQ(names[19], "Event 1019");         // the empty rename changed nothing
    EXPECT_EQ(names[50], "Event 1050");         // hidden by the basic view, kept
    EXPECT_EQ(names[0], "");
}
