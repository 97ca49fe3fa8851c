#include "app/Resources.h"

#include <QtGlobal>

void loadVokaboResources() {
    Q_INIT_RESOURCE(resources);
}
