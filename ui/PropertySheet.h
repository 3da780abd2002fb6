// The wizard: a sheet with Back / Next / Finish / Cancel that shows one page at a time. Pages
// are objects that outlive their windows: a page's window is made the first time it is shown
// (OnInitDialog) and destroyed when the page is removed from the sheet.
//
// ui/PropertySheet.cpp defines the pages' handlers and the sheet's page list and navigation
// (AddPage to SetActivePage, CanGoBack to CanFinish, Navigate, the Press calls); each backend
// owes the rest, in its PropertySheet.cpp: constructor, destructor, Frame, CreatePageWindow,
// FitPage, ShowActivePage, the title and icon, the wizard buttons, DoModal, Create, IsEnded and
// EndDialog.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Window.h"

namespace ui {

class PropertySheet;

// Wizard button flags, as the set-wizard-buttons request takes them.
inline constexpr unsigned PSWIZB_BACK = 1;
inline constexpr unsigned PSWIZB_NEXT = 2;
inline constexpr unsigned PSWIZB_FINISH = 4;
inline constexpr unsigned PSWIZB_DISABLEDFINISH = 8;

// What OnWizardBack / OnWizardNext answer: the default move, or stay where the sheet is now
// (a page that activated another page itself answers kStay).
inline constexpr int kWizardDefault = 0;
inline constexpr int kWizardStay = -1;
// What DoModal answers after Finish.
inline constexpr int kWizardFinished = 0x3025;

class PropertyPage : public Window {
  public:
    explicit PropertyPage(const DialogTemplate& dialogTemplate) : Window(dialogTemplate) {}

    // The first time the page's window is shown; false fails the initialisation.
    virtual bool OnInitDialog();
    // Each time the page becomes the active page; false refuses the activation.
    virtual bool OnSetActive();
    virtual int OnWizardBack();
    virtual int OnWizardNext();
    // True closes the sheet.
    virtual bool OnWizardFinish();

    PropertySheet* GetParentSheet() const { return m_sheet; }

  private:
    friend class PropertySheet;
    PropertySheet* m_sheet = nullptr;
};

class PropertySheet {
  public:
    explicit PropertySheet(Hwnd parent = 0);
    virtual ~PropertySheet();
    PropertySheet(const PropertySheet&) = delete;
    PropertySheet& operator=(const PropertySheet&) = delete;

    void AddPage(PropertyPage* page);
    void RemovePage(int index);
    void RemovePage(PropertyPage* page);
    int GetPageIndex(const PropertyPage* page) const;
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    PropertyPage* GetPage(int index) const;
    PropertyPage* GetActivePage() const { return m_active; }
    int GetActiveIndex() const { return GetPageIndex(m_active); }
    bool SetActivePage(int index);
    bool SetActivePage(PropertyPage* page);

    void SetTitle(std::string_view title);
    std::string GetTitle() const;
    void SetIcon(std::string_view resource);
    // The set-wizard-buttons request, posted: it takes effect once the current handler is done.
    void PostSetWizardButtons(unsigned flags);
    // The buttons in effect now.
    unsigned wizardButtons() const { return m_buttons; }
    bool CanGoBack() const;
    bool CanGoNext() const;
    bool CanFinish() const;

    // Shows the sheet at `startPage` and runs it until Cancel or a finishing page ends it.
    int DoModal(int startPage);
    // Shows the sheet at `startPage` without waiting (the caller runs the event loop).
    void Create(int startPage);
    bool IsEnded() const;
    void EndDialog(int result);
    // The same as pressing the buttons.
    void PressBack();
    void PressNext();
    void PressFinish();
    void PressCancel();

    // The backend's frame around the pages. Only the backend knows it.
    class Frame;
    Frame& frame() const { return *m_frame; }

  private:
    // Backend: makes a page's window in the page area; false when it could not.
    bool CreatePageWindow(PropertyPage& page);
    // Backend: the page area grows to hold a page of that template.
    void FitPage(const DialogTemplate& pageTemplate);
    // Backend: shows the active page's window and hides the others.
    void ShowActivePage();
    void SetWizardButtons(unsigned flags);
    void Navigate(int answer, int step);

    std::unique_ptr<Frame> m_frame;
    std::vector<PropertyPage*> m_pages;
    PropertyPage* m_active = nullptr;
    unsigned m_buttons = 0;
};

}  // namespace ui
