#include "Adatmodul.h"

Tform_Adatmodul *form_Adatmodul = nullptr;

Tform_Adatmodul::Tform_Adatmodul(QObject *parent)
    : QObject(parent), Query1(&ADOConn, QStringLiteral("Query1")), Query2(&ADOConn, QStringLiteral("Query2")),
      Query3(&ADOConn, QStringLiteral("Query3"))
{
    setObjectName(QStringLiteral("form_Adatmodul"));
    ADOConn.setObjectName(QStringLiteral("ADOConn"));
    form_Adatmodul = this;
}

Tform_Adatmodul::~Tform_Adatmodul()
{
    if (form_Adatmodul == this)
        form_Adatmodul = nullptr;
}
