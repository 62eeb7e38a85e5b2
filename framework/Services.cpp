#include "framework/Services.h"

CServices& Services()
{
    static CServices services;
    return services;
}
