#include "Uprincipal.h"

TPrincipal *Principal = nullptr;

TPrincipal::TPrincipal(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Principal"));
}

TPrincipal::~TPrincipal() = default;
