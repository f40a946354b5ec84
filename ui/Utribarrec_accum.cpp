#include "Utribarrec.h"

QString TTribArrec::AccumulatedValue(const QString &value, int, const QString &)
{
    return value;
}

void TTribArrec::RecalculateYear()
{
}

void TTribArrec::Panel1MouseDown()
{
}

void TTribArrec::Panel1MouseUp()
{
}
