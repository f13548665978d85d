#include "job/setting.h"

Setting setting;
