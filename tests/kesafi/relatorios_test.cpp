#include "apoio.h"
