#pragma once

// frmMain: the multiple-document main window with its menus, the editing
// toolbar and the navigation toolbar. It shows the New Testament window while
// it loads and writes its placement when it unloads.

#include "runtime/forms/mdi_parent.h"

#include <QKeySequence>

#include <map>
#include <vector>
#include <string>

namespace rt {
class CaptionToolbar;
class CommonDialog;
class ImageList;
class MenuItem;
class Toolbar;
class ToolbarButton;
} // namespace rt

class QAction;
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

    // The navigation toolbar's click: the button's number (from 1) and key.
    void Toolbar1_ButtonClick(int Index, const std::string &Key);
    // The editing toolbar's click.
    void tbToolBar_ButtonClick(rt::ToolbarButton &Button);

protected:
    void design() override;
    void Form_Load() override { MDIForm_Load(); }
    void Form_Unload(int &Cancel) override { MDIForm_Unload(Cancel); }

private:
    void designMenus();
    void designToolbars();
    rt::MenuItem *addMenuItem(QMenu *menu, const std::string &name, const std::string &caption,
                              const QKeySequence &shortcut = {});

    void connectMenus();

    void MDIForm_Load();
    void MDIForm_Unload(int &Cancel);
    void mniExit_Click();

    // Window commands (shell/window_commands.cpp).
    void showAndArrange(rt::Form &window, int arrangement);
    // The open child windows at the foot of the Window menu, made anew each time it opens.
    void listChildWindows(QMenu *menu);
    std::vector<QAction *> windowList_;
    void mnuOT_Click();
    void mnuNT_Click();
    void mnuBD_Click();
    void mnuKH_Click();
    void mnuCon_Click();
    void mnuMaps_Click();
    void mnuTH_Click();

    // Document commands (documents/document_commands.cpp).
    void mnuFileNew_Click();
    void mnuFmtFont_Click();
    void mnuFmtColor_Click();

    // Format and print commands on the New Testament text (documents/format_commands.cpp).
    void mnuFmtBold_Click();
    void mnuFmtItalic_Click();
    void mnuFmtSizeSmall_Click();
    void mnuFmtSizeMedium_Click();
    void mnuFmtSizeLarge_Click();
    void mnuPrint_Click();

    // The editing toolbar's Copy (documents/editing_toolbar.cpp).
    void CopySelectionToClipboard();

    // Help (shell/help_commands.cpp).
    void mnuAbo_Click();
    void mnuHelp_Click();

    rt::Toolbar *tbToolBar_ = nullptr;
    rt::CaptionToolbar *Toolbar1_ = nullptr;
    rt::CommonDialog *dlgCommonDialog_ = nullptr;
    rt::ImageList *imlToolbarIcons_ = nullptr;
    rt::ImageList *ImageList1_ = nullptr;
    std::map<std::string, rt::MenuItem *> menus_;
};

} // namespace velumir
