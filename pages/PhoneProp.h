// Edits one row of a phone book page: the number (or destination), and either a password
// changed with old / new / confirmation, or a 4-character account code; on pages whose rows
// have events it opens the event list for the row's mask. A password-only form edits the
// supervisor page's user account password.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Dialog.h"

class CPhoneProp : public ui::Dialog {
  public:
    // What the dialog asks for besides the number, and what the number may hold.
    struct Entry {
        bool password = false;  // a password, changed with old / new / confirmation
        bool account = false;   // a 4-character account code
        bool digitsOnly = false;
        bool passwordOnly = false;  // the password without a number
        // No more characters can be typed into the number than the calling page can store.
        int numberLimit = 0;
    };

    CPhoneProp(std::string& number, std::string& code, std::uint8_t* eventMask, int eventFilter,
               ui::Hwnd parent);

    void SetEntry(const Entry& entry) { m_entry = entry; }
    void SetPasswordEntry(int on) { m_entry.password = on != 0; }
    void SetAccountEntry(int on) { m_entry.account = on != 0; }
    void SetDigitsOnly(int on) { m_entry.digitsOnly = on != 0; }
    void SetPasswordOnly(int on) { m_entry.passwordOnly = on != 0; }
    void SetNumberLimit(int maxChars) { m_entry.numberLimit = maxChars; }

    static constexpr int kPasswordMax = 10;
    static constexpr int kAccountLength = 4;

  protected:
    bool OnInitDialog() override;
    void OnOK() override;

  private:
    void InitPasswordEntry();
    bool CheckNumber();
    bool CheckPasswords();
    void Warn(const char* section);

    std::string& m_pstrNumber;
    std::string& m_pstrCode;
    std::uint8_t* m_pEventMask;
    int m_nEventFilter;
    Entry m_entry;
};

// The placeholder and the reminder the dialog puts into its edits.
inline constexpr const char* kNumberPlaceholder = "??????";
inline constexpr const char* kAccountReminder = "Account?!";
inline constexpr const char* kUserAccountCaption = "User account";
