#include "view/ViewerHost.h"

ViewerHost::~ViewerHost() = default;
