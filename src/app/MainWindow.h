#pragma once

#include <QMainWindow>

class QTabWidget;

namespace velmor::app {

// Form1, the program's one main window: the tabbed option controls, the game and launch
// buttons and the menus. It only lays them out; every control carries its name from the window
// description as its object name, by which the program's handlers find it.
class MainWindow final : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget* parent = nullptr);

  signals:
    // The window is closing, by any means. The close is never refused.
    void queryUnload();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildMenus();
    void buildClientArea();

    bool placed_ = false;
};

}  // namespace velmor::app
