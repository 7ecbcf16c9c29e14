// Halvix: a dynamic geometry workbench for solid geometry.
#include "app/halvix_app.h"
#include "platform/file.h"

int main(int argc, char** argv) {
    // Past a file-size limit a write fails and is reported, rather than ending the program.
    HxIgnoreFileSizeSignal();
    CHalvixApp app(argc, argv);
    if (!app.InitInstance())
        return app.ExitInstance(app.GetShellResult());
    return app.Run();
}
