// CZORMTaskDialog: the framework's task dialog, a modal dialog laid out like a GTK
// message dialog (the main instruction large and bold, the content under it, an
// optional input box, radio buttons and a verification check box, a footer with its
// icon, and the buttons at the bottom right). Callers make one on the stack,
// configure it, call DoModal, read what the user chose and let it go.
//
// A configured dialog can be shown again: DoModal builds the window from the
// configuration each time, and what the user chose or typed (the radio button, the
// check box, the input) is kept in the object between showings.
//
// Every control is named by its label for accessibility tools; the input box by the
// dialog's main instruction. Arrow keys move within the radio buttons, Enter presses
// the default button, Escape and the close box cancel when cancellation is enabled.
#pragma once

#include <wx/dialog.h>

#include <string>
#include <utility>
#include <vector>

class CZORMTaskDialog {
 public:
  // What DoModal returns for the common buttons; command buttons return their own id.
  static constexpr int kOk = 1;
  static constexpr int kCancel = 2;

  // The footer's icon.
  enum class FooterIcon { kNone, kInformation, kApplication };

  // `parent` owns the dialog window while it is shown (the list control).
  explicit CZORMTaskDialog(wxWindow* parent);
  ~CZORMTaskDialog();
  CZORMTaskDialog(const CZORMTaskDialog&) = delete;
  CZORMTaskDialog& operator=(const CZORMTaskDialog&) = delete;

  void SetWindowTitle(const std::string& title);
  void SetMainInstruction(const std::string& text);
  void SetContent(const std::string& text);
  void SetFooter(const std::string& text);
  void SetFooterIcon(FooterIcon icon);

  // A check box under the content with `text`; its initial state.
  void SetVerificationText(const std::string& text);
  void SetVerifyCheckState(bool checked);

  // When on, Escape and the close box end the dialog with kCancel.
  void EnableCancellation(bool enable);

  // The common buttons in the order of the system's flags; only OK and Cancel are
  // drawn (the others are never asked for by the framework).
  void SetCommonButtons(bool ok, bool yes, bool no, bool cancel, bool retry, bool close);
  // The button that Enter presses: kOk, kCancel or a command button's id.
  void SetDefaultButton(int id);

  // A button left of the common ones that ends the dialog with `id`.
  void AddButton(const std::string& text, int id);

  // Radio buttons appear in call order; the first is chosen unless another is set.
  void AddRadioButton(const std::string& text, int id);
  void SetDefaultRadioButton(int id);

  // A one-line text box under the content, and its text.
  void AddInputBox();
  void SetInputBoxText(const std::string& text);

  // The set-up of a question answered in one line: cancellation, an input box, OK
  // and Cancel with OK as default, the application's icon in the footer.
  void AskForOneLine();

  // Enables or disables a common or command button (the state is kept between
  // showings).
  void EnableButton(int id, bool enable);

  // Shows the dialog modally; returns kOk, kCancel (also for Escape and the close
  // box) or the id of the command button that ended it.
  int DoModal();

  // What the user chose, after DoModal.
  int GetSelectedRadioButtonId() const;
  int IsVerificiationChecked() const;  // the spelling the framework's callers use
  std::string GetInputBoxText() const;

 private:
  class Window;  // the wxDialog built by each DoModal

  struct Button {
    std::string text;
    int id;
  };

  wxWindow* m_pParent;
  std::string m_strWindowTitle;
  std::string m_strMainInstruction;
  std::string m_strContent;
  std::string m_strFooter;
  FooterIcon m_footerIcon = FooterIcon::kNone;
  std::string m_strVerificationText;
  bool m_bVerifyChecked = false;
  bool m_bCancellation = false;
  bool m_bOkButton = false;
  bool m_bCancelButton = false;
  int m_nDefaultButton = kOk;
  std::vector<Button> m_buttons;
  std::vector<Button> m_radioButtons;
  int m_nSelectedRadio = 0;
  bool m_bInputBox = false;
  std::string m_strInput;
  std::vector<std::pair<int, bool>> m_enabled;  // button id, enabled

  bool IsButtonEnabled(int id) const;
};
