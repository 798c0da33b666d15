#include "kivglobal.h"

const bool KivGlobal::isPdfManager = false;
