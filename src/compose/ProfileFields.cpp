#include "compose/PageTable.h"

namespace vt {

// The pages in the order an import sets them: each page's boxes, then what the boxes open.
std::vector<ProfileField> ProfileFieldsOf(Pages& p) {
    std::vector<ProfileField> fields;
    p.boot.AddProfileFields(fields);
    p.system.AddProfileFields(fields);
    p.windows.AddProfileFields(fields);
    p.startMenu.AddProfileFields(fields);
    p.internet.AddProfileFields(fields);
    p.internet2.AddProfileFields(fields);
    p.fileCache.AddProfileFields(fields);
    p.diskCache.AddProfileFields(fields);
    p.oemInfo.AddProfileFields(fields);
    p.programPage.AddProfileFields(fields);
    return fields;
}

}  // namespace vt
