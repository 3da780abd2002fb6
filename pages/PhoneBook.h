// The base of every page that edits a list of numbers or destinations: the list with Add,
// Remove, Properties, Up and Down, each row's entry code and event mask kept beside it and
// moved with it, the three scenario buttons, and the event catalogue request of the first such
// page shown after a connection. It is also the one home of what the derived pages share:
// rows loaded from and stored to the record's slots, captions, page icons and option bits.
#pragma once

#include <array>
#include <memory>
#include <span>
#include <string>

#include "app/WizardPage.h"
#include "device/DeviceData.h"
#include "pages/PhoneProp.h"
#include "ui/ListView.h"

class CPhoneBook : public CWizardPage {
  public:
    // A control's text, from a section of the language file, set on every activation.
    struct Caption {
        int id;
        const char* section;
    };
    explicit CPhoneBook(std::span<const Caption> captions);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    // Leaving the page, Back and Next alike, stores it; the wizard moves on whatever the
    // store made of it, and nothing is said.
    int OnWizardBack() override;
    int OnWizardNext() override;

    void EnableScenarios(int on) { m_bScenarios = on; }

    static constexpr int kCodeCount = 10;
    static constexpr int kCatalogueRetries = 5;
    static constexpr int kRetryDelayMs = 1000;
    static constexpr int kRetryTimer = 1;
    static constexpr int kIconSize = 16;

  protected:
    // The derived page's store procedure.
    virtual void Store() = 0;

    // How a page's rows sit in the record.
    enum class Codes { None, Accounts, SupervisorCodes };
    struct RowLayout {
        int firstSlot;          // stringTable slot of row 0's number
        int slotCount;          // how many number slots
        std::size_t maxLength;  // longest number a slot holds
        Codes codes = Codes::None;
        AccountTable accounts = AccountTable::Dtmf;
        bool codeAtRow = false;  // codes stored at the row's index, not at the number's slot
    };
    // Packed rows from the non-empty number slots, with their codes.
    void LoadRows(const RowLayout& rows);
    // Stores rows 0..slots-1 into the slots, packed, and empties the slots left over. Stops
    // with false at a number too long for its slot; what was written before stays written.
    bool StoreRows(const RowLayout& rows);
    void SetPageIcon(const char* icon);
    void CheckFromFlag(int id, std::uint32_t bit);
    void StoreFlag(int id, std::uint32_t bit);
    // Shows a bit's box checked when the bit is set; a clear bit leaves the box alone.
    void CheckIfFlag(int id, std::uint32_t bit);
    // A protocol page's two options: the PSTN-trouble box, and the second box it shows.
    void ShowOptions(std::uint32_t pstnBit, std::uint32_t optionBit);
    void StoreOptions(std::uint32_t pstnBit, std::uint32_t optionBit);

    void DoDataExchange(ui::DataExchange& dx) override;
    void OnTimer(int id) override;
    std::intptr_t OnLinkResult(const LinkAnswer& answer) override;

    int m_nCapacity = 4;
    std::array<std::string, kCodeCount> m_strCodes;
    std::uint8_t* m_pEventMasks = nullptr;
    int m_bEventFilter = 0;
    int m_bPasswordOnly = 0;
    // How the phone number dialog edits a row.
    CPhoneProp::Entry m_entry{.numberLimit = static_cast<int>(layout::kPhoneNumberSize) - 1};
    int m_nRetries = kCatalogueRetries;
    std::string m_strNumber;
    std::string m_strCode;
    std::unique_ptr<ui::ImageList> m_pImageList;

  private:
    void Add();
    void Properties();
    void Remove();
    void Up();
    void Down();
    void Scenario(int value);
    bool RunPhoneDialog(std::uint8_t* mask);
    void SwapRows(int a, int b);
    void MoveRow(int from, int insertAt, int mark);
    void EnableEditing(bool enable);
    void SetScenarioValue(int value);
    std::uint8_t* RowMask(int row) const;
    ui::ListView* List() const;

    const std::span<const Caption> m_captions;
    int m_bScenarios = 0;
    std::string m_strListLabel;  // bound to the static above the list; nothing fills it
};
