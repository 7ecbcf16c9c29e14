// Halvix: a dynamic geometry workbench for solid geometry.
#include "app/halvix_app.h"

int main(int argc, char** argv) {
    CHalvixApp app(argc, argv);
    if (!app.InitInstance())
        return app.ExitInstance(1);
    return app.Run();
}
