#pragma once
// The main window of kvl-moradas: the municipalities and the table of the chosen one's
// streets, with the edit form of a street in a window of its own beside it, and the tagged menu
// options open, new, save, delete and list.

#include <QComboBox>
#include <QMainWindow>
#include <QTableWidget>
#include <functional>
#include <memory>

#include "StreetForm.h"
#include "StreetStore.h"

namespace moradas {

// The option codes of the menu actions, as the permission table names them.
inline constexpr const char* kOptionOpen = "ruas.abrir";
inline constexpr const char* kOptionNew = "ruas.novo";
inline constexpr const char* kOptionSave = "ruas.gravar";
inline constexpr const char* kOptionDelete = "ruas.eliminar";
inline constexpr const char* kOptionList = "ruas.listar";

class MainWindow : public QMainWindow {
  public:
    explicit MainWindow(std::shared_ptr<kvl::kvlSERV> session, QWidget* parent = nullptr);

    // The code of the chosen municipality; "" when none is.
    std::string Municipality() const;
    // The key of the street chosen in the table; "" when none is.
    std::string ChosenStreet() const;

    void ListStreets();
    void OpenStreet();
    void NewStreet();
    void SaveStreet();
    void DeleteStreet();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenu();
    void ChooseMunicipality();
    // Chooses the street in the table, which opens it; nothing when the table lacks it.
    void ChooseStreet(const std::string& id);
    // Places the edit form, when the user has no saved place for it, clear of this window.
    void PlaceForm();
    // Shows the edit form, a window of its own, in front.
    void ShowForm();
    // Runs step; a run-time error of the library or of the form is shown in a message box,
    // a street that lacks a field it needs with a warning.
    void Guarded(const std::function<void()>& step);
    void ShowMessage(const std::string& text, int32_t okWithIcon);

    std::shared_ptr<kvl::kvlSERV> session_;
    StreetStore store_;
    QComboBox* municipalities_ = nullptr;
    QTableWidget* streets_ = nullptr;
    StreetForm* form_ = nullptr;
    kvl::Variant municipalityCodes_;
};

}  // namespace moradas
