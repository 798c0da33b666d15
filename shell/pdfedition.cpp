#include "kivglobal.h"

const bool KivGlobal::isPdfManager = true;
