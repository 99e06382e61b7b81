#pragma once

// frmMain: the multiple-document main window with its menus, the editing
// toolbar and the navigation toolbar. It shows the New Testament window while
// it loads and writes its placement when it unloads.

#include "runtime/forms/mdi_parent.h"

#include <QKeySequence>

#include <map>
#include <string>

namespace rt {
class CaptionToolbar;
class CommonDialog;
class ImageList;
class MenuItem;
class Toolbar;
class ToolbarButton;
} // namespace rt

class QMenu;

namespace velumir {

class frmMain : public rt::MdiParent {
public:
    explicit frmMain(rt::Program &program);

    rt::Toolbar &tbToolBar();
    rt::CaptionToolbar &Toolbar1();
    rt::CommonDialog &dlgCommonDialog();
    rt::ImageList &imlToolbarIcons();
    rt::ImageList &ImageList1();
    // A menu entry by its name ("mnuFileOpen").
    rt::MenuItem &menu(const std::string &name);

    // The document commands, also called by the editing toolbar.
    void mnuFileOpen_Click();
    void mnuFileSave_Click();

protected:
    void design() override;
    void Form_Load() override { MDIForm_Load(); }
    void Form_Unload(int &Cancel) override { MDIForm_Unload(Cancel); }

private:
    void designMenus();
    void designToolbars();
    rt::MenuItem *addMenuItem(QMenu *menu, const std::string &name, const std::string &caption,
                              const QKeySequence &shortcut = {});

    void MDIForm_Load();
    void MDIForm_Unload(int &Cancel);
    void mniExit_Click();

    rt::Toolbar *tbToolBar_ = nullptr;
    rt::CaptionToolbar *Toolbar1_ = nullptr;
    rt::CommonDialog *dlgCommonDialog_ = nullptr;
    rt::ImageList *imlToolbarIcons_ = nullptr;
    rt::ImageList *ImageList1_ = nullptr;
    std::map<std::string, rt::MenuItem *> menus_;
};

} // namespace velumir
