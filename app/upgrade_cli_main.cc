#include "app/upgrade_cli.h"

int main(int argc, char** argv) { return RunUpgradeCli(argc, argv); }
