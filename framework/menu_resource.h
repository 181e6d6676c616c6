// The menu resources of the framework's programs (resources/menus.xrc, built into
// every program). A resource is a menu bar named by its number; its submenus are the
// popups that the lists show.
#pragma once

#include <wx/menu.h>

#include <memory>
#include <string>

// The menu bar of resource `id`; null when there is none.
std::unique_ptr<wxMenuBar> LoadMenuResource(unsigned id);

// The command id of the resources' item named `name`: the same for the life of
// the program, whether or not a menu was loaded yet.
int MenuResourceCommandId(const std::string& name);

// Menu commands keep their numbers from the system's resources, but wx takes menu
// ids only below 0x7FFF: a number from 0x8000 up is carried as its low 15 bits.
constexpr int MenuCommandId(unsigned number) { return int(number & 0x7FFF); }

// Commands named in the resources, with their numbers.
constexpr unsigned kExportCommand = 32771;  // "&Export" of the upgrade utility's list

// The resources' numbers.
constexpr unsigned kUpgradeListMenuResource = 132;  // the upgrade utility's list
constexpr unsigned kListCommandsMenuResource = 133;  // every list command
constexpr unsigned kZormListMenuResource = 134;      // zormlist's context menu
