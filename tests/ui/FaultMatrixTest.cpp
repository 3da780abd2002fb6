// Every transport fault of the unit at every phase of a session, Qubset and the simulator
// over a pseudo-terminal. Each cell says what the wizard must do about it; in every cell the
// wizard can still be cancelled and the unit never takes a partial or corrupt configuration.
#include <gtest/gtest.h>

#include <chrono>

#include "app/StartPage.h"
#include "pages/General.h"
#include "resources/Resource.h"
#include "tests/support/Wizard.h"
#include "transfer/DialingDlg.h"
#include "transfer/EndPage.h"

using layout::kSlotApnLogin;
using sim::FaultKind;
using namespace std::chrono_literals;

namespace {

enum class Phase { Scan, Identify, Catalogue, Upload, ReadBack, Dial, Status };

enum class Outcome {
    Found,                // the welcome page offers Next; no error page
    FoundTextsKept,       // found, and the texts the wizard had are kept (the table is not read)
    ErrorPageThenFound,   // the error page, then the welcome page once the unit answers
    Filled,               // the communication page fills its lists without a beep
    FilledTextsKept,      // filled; the texts of the last identification are kept
    BeepThenFilled,       // one beep, an identification retried at once, lists filled
    Loaded,               // the catalogue is read at the first request
    RetriedThenLoaded,    // one beep, the request repeated a second later, then read
    Uploaded,             // the upload is accepted at once and the program ends with 1
    RetriedThenUploaded,  // one beep, the same image sent again and accepted, status 1
    Verified,             // read back after the upload: verified, the program ends with 1
    NotVerified,          // the read-back is lost: said so, status 1, the wizard stays
    Connected,            // the remote call comes up: the communication page
    DotsThenConnected,    // a lost answer shows as a dot; the call still comes up
    DotsForever,          // the line is dead: dots, no end, no spin, until Back
};

struct Cell {
    FaultKind fault;
    Phase phase;
    Outcome outcome;
};

// A dead line (hung up mid-frame) is where the phases differ most: a port kept open on it
// fails every later exchange at once, so the retries run out and the error page searches
// afresh; the transfer page never gives up by itself. A wrong string-table length can only
// come with the settings (command 11), so it has cells only where those are read.
constexpr Cell kMatrix[] = {
    {FaultKind::Noise, Phase::Scan, Outcome::Found},
    {FaultKind::BadChecksum, Phase::Scan, Outcome::ErrorPageThenFound},
    {FaultKind::ShortFrame, Phase::Scan, Outcome::ErrorPageThenFound},
    {FaultKind::Silent, Phase::Scan, Outcome::ErrorPageThenFound},
    {FaultKind::HangUpMidFrame, Phase::Scan, Outcome::ErrorPageThenFound},
    {FaultKind::WrongStringTableLength, Phase::Scan, Outcome::FoundTextsKept},

    {FaultKind::Noise, Phase::Identify, Outcome::Filled},
    {FaultKind::BadChecksum, Phase::Identify, Outcome::BeepThenFilled},
    {FaultKind::ShortFrame, Phase::Identify, Outcome::BeepThenFilled},
    {FaultKind::Silent, Phase::Identify, Outcome::BeepThenFilled},
    {FaultKind::HangUpMidFrame, Phase::Identify, Outcome::ErrorPageThenFound},
    {FaultKind::WrongStringTableLength, Phase::Identify, Outcome::FilledTextsKept},

    {FaultKind::Noise, Phase::Catalogue, Outcome::Loaded},
    {FaultKind::BadChecksum, Phase::Catalogue, Outcome::RetriedThenLoaded},
    {FaultKind::ShortFrame, Phase::Catalogue, Outcome::RetriedThenLoaded},
    {FaultKind::Silent, Phase::Catalogue, Outcome::RetriedThenLoaded},
    {FaultKind::HangUpMidFrame, Phase::Catalogue, Outcome::ErrorPageThenFound},

    {FaultKind::Noise, Phase::Upload, Outcome::Uploaded},
    {FaultKind::BadChecksum, Phase::Upload, Outcome::RetriedThenUploaded},
    {FaultKind::ShortFrame, Phase::Upload, Outcome::RetriedThenUploaded},
    {FaultKind::Silent, Phase::Upload, Outcome::RetriedThenUploaded},
    {FaultKind::HangUpMidFrame, Phase::Upload, Outcome::ErrorPageThenFound},

    {FaultKind::Noise, Phase::ReadBack, Outcome::Verified},
    {FaultKind::BadChecksum, Phase::ReadBack, Outcome::NotVerified},
    {FaultKind::ShortFrame, Phase::ReadBack, Outcome::NotVerified},
    {FaultKind::Silent, Phase::ReadBack, Outcome::NotVerified},
    {FaultKind::HangUpMidFrame, Phase::ReadBack, Outcome::NotVerified},

    {FaultKind::Noise, Phase::Dial, Outcome::Connected},
    {FaultKind::BadChecksum, Phase::Dial, Outcome::DotsThenConnected},
    {FaultKind::ShortFrame, Phase::Dial, Outcome::DotsThenConnected},
    {FaultKind::Silent, Phase::Dial, Outcome::DotsThenConnected},
    {FaultKind::HangUpMidFrame, Phase::Dial, Outcome::DotsForever},

    {FaultKind::Noise, Phase::Status, Outcome::Connected},
    {FaultKind::BadChecksum, Phase::Status, Outcome::DotsThenConnected},
    {FaultKind::ShortFrame, Phase::Status, Outcome::DotsThenConnected},
    {FaultKind::Silent, Phase::Status, Outcome::DotsThenConnected},
    {FaultKind::HangUpMidFrame, Phase::Status, Outcome::DotsForever},
};

sim::Phase SimPhase(Phase phase) {
    switch (phase) {
        case Phase::Scan:
        case Phase::Identify:
            return sim::Phase::Identify;
        case Phase::Catalogue:
            return sim::Phase::Events;
        case Phase::Upload:
            return sim::Phase::Upload;
        case Phase::ReadBack:
            return sim::Phase::Settings;
        case Phase::Dial:
            return sim::Phase::Dial;
        case Phase::Status:
            return sim::Phase::Status;
    }
    return sim::Phase::Any;
}

std::string CellName(const Cell& cell) {
    static const char* faults[] = {"Noise", "BadChecksum", "ShortFrame", "Silent", "HangUp"};
    static const char* phases[] = {"Scan",     "Identify", "Catalogue", "Upload",
                                   "ReadBack", "Dial",     "Status"};
    const auto f = static_cast<std::size_t>(cell.fault);
    return std::string(phases[static_cast<int>(cell.phase)]) + "_" +
           (f < 5 ? faults[f] : "WrongStringTableLength");
}

std::string Name(const ::testing::TestParamInfo<Cell>& info) {
    return CellName(info.param);
}

[[maybe_unused]] void PrintTo(const Cell& cell, std::ostream* os) {
    *os << CellName(cell);
}

class FaultMatrix : public ::testing::TestWithParam<Cell> {
  protected:
    FaultMatrix() : w(Options()) {}
    static WizardOptions Options() {
        WizardOptions o;
        o.simulator.dialDelay = 300ms;
        o.simulator.statusGap = 60ms;
        return o;
    }

    void Fault() { w.simulator.AddFault({GetParam().fault, SimPhase(GetParam().phase), 1}); }
    void Next() {
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
        w.Next();
    }
    bool Filled() {
        return !Wizard::Rows(*w.sheet->page<CGeneral>(PageId::General), IDC_INSTALLED).empty();
    }
    void ToStart() {
        Next();
        ASSERT_TRUE(w.WaitForPage(PageId::Start));
    }
    void ToCommunication() {
        ToStart();
        Wizard::Click(*w.sheet->page<CStartPage>(PageId::Start), IDC_LOCAL);
        Next();
        ASSERT_TRUE(w.WaitForPage(PageId::General));
    }
    void Dial() {
        ToStart();
        auto& start = *w.sheet->page<CStartPage>(PageId::Start);
        Wizard::Click(start, IDC_REMOTE);
        Wizard::Type(start, IDC_PHONE, "491709998887");
        Wizard::Type(start, IDC_PASSWORD, "1234");
        Fault();
        Next();
        ASSERT_TRUE(w.WaitForPage(PageId::Dialing));
    }
    int Dots() const {
        const std::string status =
            w.sheet->page<CDialingDlg>(PageId::Dialing)->GetDlgItemText(IDC_DIAL_STATUS);
        return static_cast<int>(std::count(status.begin(), status.end(), '.'));
    }
    void ExpectErrorPageThenFound() {
        ASSERT_TRUE(w.WaitForPage(PageId::Error, 20000));
        ASSERT_TRUE(w.WaitForPage(PageId::Welcome, 20000));
        EXPECT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
        EXPECT_EQ(w.sheet->m_nComPort, 3);
    }
    void ExpectUploadEnd(int uploads, int beeps) {
        ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->IsEnded(); }, 20000));
        EXPECT_EQ(w.sheet->exitStatus(), 1);
        EXPECT_EQ(w.simulator.RequestCount(100), static_cast<std::size_t>(uploads));
        EXPECT_EQ(w.beeps, beeps);
    }

    Wizard w;
};

}  // namespace

TEST_P(FaultMatrix, PrescribedOutcome) {
    const Cell cell = GetParam();
    if (cell.phase == Phase::Scan) Fault();
    const std::string seeded = "apn.before:scan";
    w.data.setSlotText(kSlotApnLogin, seeded);
    w.Start();
    switch (cell.phase) {
        case Phase::Scan:
            if (cell.outcome == Outcome::ErrorPageThenFound) {
                ExpectErrorPageThenFound();
            } else {
                ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
                EXPECT_FALSE(w.Visited(PageId::Error));
                const bool kept = cell.outcome == Outcome::FoundTextsKept;
                EXPECT_EQ(w.data.slotText(kSlotApnLogin) == seeded, kept);
            }
            break;
        case Phase::Identify: {
            ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
            // The unit's texts change after the search: read again unless the fault acts.
            const std::string scanned = w.data.slotText(kSlotApnLogin);
            sim::Unit unit = w.simulator.Local();
            unit.record.setSlotText(kSlotApnLogin, "apn.changed:later");
            w.simulator.SetLocal(unit);
            Fault();
            ToCommunication();
            if (cell.outcome == Outcome::ErrorPageThenFound) {
                ExpectErrorPageThenFound();
                EXPECT_GE(w.beeps, 6);  // six identifications, and searches until the line is back
            } else {
                ASSERT_TRUE(Wizard::WaitFor([&] { return Filled(); }));
                EXPECT_EQ(w.beeps, cell.outcome == Outcome::BeepThenFilled ? 1 : 0);
                const bool kept = cell.outcome == Outcome::FilledTextsKept;
                EXPECT_EQ(w.data.slotText(kSlotApnLogin),
                          kept ? scanned : std::string("apn.changed:later"));
            }
            break;
        }
        case Phase::Catalogue:
            w.ToCommunicationPage();
            Fault();
            Next();
            if (cell.outcome == Outcome::ErrorPageThenFound) {
                ExpectErrorPageThenFound();
            } else {
                ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->m_bEventsLoaded == 1; }, 15000));
                const bool retried = cell.outcome == Outcome::RetriedThenLoaded;
                EXPECT_EQ(w.simulator.RequestCount(12), retried ? 2u : 1u);
                EXPECT_EQ(w.beeps, retried ? 1 : 0);
            }
            break;
        case Phase::Upload:
            w.ToCommunicationPage();
            w.ToEndPage();
            Fault();
            ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->CanFinish(); }));
            w.Finish();
            if (cell.outcome == Outcome::ErrorPageThenFound)
                ExpectErrorPageThenFound();
            else if (cell.outcome == Outcome::Uploaded)
                ExpectUploadEnd(1, 0);
            else
                ExpectUploadEnd(2, 1);
            break;
        case Phase::ReadBack:
            w.ToCommunicationPage();
            w.ToEndPage();
            ASSERT_TRUE(Wizard::WaitFor([&] { return w.sheet->CanFinish(); }));
            Fault();
            w.Finish();
            if (cell.outcome == Outcome::Verified) {
                ExpectUploadEnd(1, 0);
                EXPECT_EQ(w.sheet->page<CEndPage>(PageId::End)->Verdict()->outcome,
                          fields::Outcome::Verified);
            } else {
                ASSERT_TRUE(Wizard::WaitFor([&] { return !w.messages.empty(); }, 15000));
                EXPECT_EQ(w.sheet->page<CEndPage>(PageId::End)->Verdict()->outcome,
                          fields::Outcome::NotVerified);
                EXPECT_EQ(w.sheet->exitStatus(), 1);
                EXPECT_FALSE(w.sheet->IsEnded());
            }
            break;
        case Phase::Dial:
        case Phase::Status:
            Dial();
            if (cell.outcome == Outcome::DotsForever) {
                ASSERT_TRUE(Wizard::WaitFor([&] { return Dots() >= 2; }));
                const int dots = Dots();
                Wizard::Settle(1300);
                // Still waiting, one dot a status cycle: no spinning on the dead line.
                EXPECT_TRUE(w.IsActive(PageId::Dialing));
                EXPECT_LE(Dots() - dots, 3);
                EXPECT_GE(Dots() - dots, 1);
            } else {
                ASSERT_TRUE(w.WaitForPage(PageId::General, 15000));
                const std::string log =
                    w.sheet->page<CDialingDlg>(PageId::Dialing)->GetDlgItemText(IDC_DIAL_LOG);
                const bool lost = cell.outcome == Outcome::DotsThenConnected;
                if (cell.phase == Phase::Dial) {
                    EXPECT_EQ(log.starts_with("\nCommand 5 0"), lost) << log;
                } else if (lost) {
                    EXPECT_FALSE(log.find("Command 5 9\n") != std::string::npos) << log;
                }
            }
            break;
    }

    // Whatever happened: the wizard can be left, and every configuration the unit took is
    // a whole one, byte for byte the image the wizard built.
    const auto image = std::vector<std::uint8_t>(w.data.uploadImage.begin(),
                                                 w.data.uploadImage.begin() + w.data.uploadLength);
    for (const auto& upload : w.simulator.AcceptedUploads()) EXPECT_EQ(upload, image);
    if (!w.sheet->IsEnded()) {
        w.sheet->PressCancel();
        EXPECT_TRUE(w.sheet->IsEnded());
    }
    const auto before = std::chrono::steady_clock::now();
    w.sheet.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 8s);  // a hang guard
}

INSTANTIATE_TEST_SUITE_P(EveryPhase, FaultMatrix, ::testing::ValuesIn(kMatrix), Name);

TEST(Cable, PulledMidSessionThenPluggedBack) {
    Wizard w;
    w.Start();
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    w.Next();
    ASSERT_TRUE(w.WaitForPage(PageId::Start));
    w.simulator.Unplug();
    Wizard::Click(*w.sheet->page<CStartPage>(PageId::Start), IDC_LOCAL);
    ASSERT_TRUE(Wizard::WaitFor([&] { return w.NextEnabled(); }));
    w.Next();
    ASSERT_TRUE(w.WaitForPage(PageId::Error, 15000));
    EXPECT_EQ(w.sheet->m_nComPort, 0);
    ASSERT_TRUE(
        Wizard::WaitFor([&] { return w.beeps >= 7; }, 15000));  // 6 identifications, a search

    ASSERT_TRUE(w.simulator.Plug());
    ASSERT_TRUE(w.WaitForPage(PageId::Welcome, 15000));
    w.ToCommunicationPage();
    w.ToEndPage();
    w.FinishAndWaitForExit();
    EXPECT_EQ(w.simulator.AcceptedUploads().size(), 1u);
}
