#include "Utribarrec.h"

void TTribArrec::FillField(int)
{
}

int TTribArrec::FindPick(int)
{
    return -1;
}

void TTribArrec::EditChange(int)
{
}

void TTribArrec::EditEnter(int)
{
}

void TTribArrec::EditExit(int)
{
}

void TTribArrec::SpeedButtonClick(int)
{
}
