#include "model/data/MVX_ModelTypes.h"

#include "model/data/MVX_Model.h"
#include "model/mapping/MAPPropertyCodec.h"

void MVX_registerModelTypes()
{
    static const bool registered = [] {
        MAPRegisterOptionalType<MVX_CategoryLogList>();
        MAPRegisterOptionalType<MVX_CategoryList>();
        MAPRegisterOptionalType<MVX_NWLogList>();
        MAPRegisterOptionalType<MVX_TagsList>();
        return true;
    }();
    (void)registered;
}
