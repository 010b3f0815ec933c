#include "lists/trovamagazzino.h"

#include <QLabel>

using namespace Qt::StringLiterals;

TfrmTrovaMagazzino::TfrmTrovaMagazzino(QWidget *parent)
    : RicercaMagazzino(parent, u"TfrmTrovaMagazzino"_s, u" Trova prodotti in magazzino"_s)
{
}

void TfrmTrovaMagazzino::consegna(const Elenchi::Scheda &scheda)
{
    if (lblMemory->text() == tagMagazzino())
        mostraSullaSchedaMagazzino(scheda);
}
