#include "platform/Logging.h"

Q_LOGGING_CATEGORY(lcPlatform, "lumara.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(lcArchive, "lumara.archive", QtWarningMsg)
Q_LOGGING_CATEGORY(lcBrowse, "lumara.browse", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTrees, "lumara.trees", QtWarningMsg)
Q_LOGGING_CATEGORY(lcView, "lumara.view", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTools, "lumara.tools", QtWarningMsg)
Q_LOGGING_CATEGORY(lcBasket, "lumara.basket", QtWarningMsg)
Q_LOGGING_CATEGORY(lcApp, "lumara.app", QtWarningMsg)
