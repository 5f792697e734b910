// ManCpLdStarter: writes the starter it carries into the starter data folder
// after checking that the published starter is not newer. No arguments.
#include <windows.h>
#include <commctrl.h>

#include "installer/installer_dialog.h"
#include "installer/system_libraries.h"

namespace ld::installer {

// The program object: common controls, the modal dialog, then the end.
class CLdStarterInstallerApp {
 public:
  explicit CLdStarterInstallerApp(HINSTANCE instance) : instance_(instance) {}
  int Run() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    CLdStarterInstallerDlg dialog(instance_);
    dialog.DoModal();
    return 0;
  }

 private:
  HINSTANCE instance_;
};

}  // namespace ld::installer

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  ld::installer::RestrictLibrarySearchToSystemFolder();
  return ld::installer::CLdStarterInstallerApp(instance).Run();
}
