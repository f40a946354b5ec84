#include "Utribarrec.h"

void TTribArrec::WritePage()
{
}

void TTribArrec::btViewClick()
{
}

void TTribArrec::SpeedButton8Click()
{
}
