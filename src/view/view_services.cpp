// The services the view's commands use.
#include "view/view_services.h"

HxViewServices& HxGetViewServices() {
    static HxViewServices services;
    return services;
}
