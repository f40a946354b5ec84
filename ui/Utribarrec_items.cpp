#include "Utribarrec.h"

void TTribArrec::cbAnoChange()
{
}

void TTribArrec::LoadItemList()
{
}

void TTribArrec::SaveItem()
{
}

QString TTribArrec::ComposeLine() const
{
    return {};
}

void TTribArrec::WriteDataFile()
{
}

void TTribArrec::btNovoClick()
{
}

void TTribArrec::btAddClick()
{
}

void TTribArrec::lbTitulosClick()
{
}

void TTribArrec::btDelClick()
{
}

void TTribArrec::btOKClick()
{
}

void TTribArrec::NextPurchaseNumber()
{
}
