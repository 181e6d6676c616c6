// The running application of the upgrade utility's GUI tests.
#pragma once

#include <string>
#include <vector>

#include "app/upgrade_app.h"

class TestUpgradeApp : public CZORMUpgradeApp {
 public:
  struct FrameworkCall {
    std::string title;
    unsigned about_bitmap_id;
    std::string build_date;
  };

  bool OnInit() override { return true; }  // tests run the start-up themselves
  bool InitFramework(const std::string& title, unsigned about_bitmap_id,
                     const std::string& build_date) override;

  // Runs InitInstance as if the program had been started with `arguments`.
  bool RunWith(const std::vector<std::string>& arguments);

  std::vector<FrameworkCall> framework_calls;
};

TestUpgradeApp& TestApp();
