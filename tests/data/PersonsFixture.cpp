#include "PersonsFixture.h"

#include "Database.h"

void insertPersonsFixture(const Database &database)
{
    const char *statements[] = {
        "INSERT INTO TOsnovniPod (Ime, Priimek, CelotnoIme, Sifra, Naslov, IDKRAJ, Davcna, TRR, PravnaOseba, Podjetje, IDPodjetja) "
        "VALUES (\"Ana\", \"Novak\", \"Ana Novak\", \"A1\", \"Slovenska 1\", 1, \"12345678\", \"05100-1000000036\", False, \"False\", 3)",
        "INSERT INTO TOsnovniPod (Ime, Priimek, CelotnoIme, Naslov, PravnaOseba, Podjetje, IDPodjetja) "
        "VALUES (\"Bojan\", \"Čeh\", \"Bojan Čeh\", \"Glavni trg 2\", False, \"False\", 5)",
        "INSERT INTO TOsnovniPod (CelotnoIme, Naslov, IDKRAJ, Davcna, PravnaOseba, Podjetje) "
        "VALUES (\"Čebelica d.o.o.\", \"Cesta 3\", 2, \"87654321\", True, \"True\")",
        "INSERT INTO TOsnovniPod (Ime, Priimek, CelotnoIme, PravnaOseba, Podjetje) VALUES (\"Cvetka\", \"Zupan\", \"Cvetka Zupan\", False, \"False\")",
        "INSERT INTO TOsnovniPod (CelotnoIme, PravnaOseba, Podjetje) VALUES (\"Alfa d.o.o.\", True, \"True\")",

        "INSERT INTO TOsnovniPodVezaKontakt (IDOsebe, IDKontat, Value) VALUES (1, 1, \"01 123 45 67\")",
        "INSERT INTO TOsnovniPodVezaKontakt (IDOsebe, IDKontat, Value) VALUES (1, 2, \"041 111 222\")",
        "INSERT INTO TOsnovniPodVezaKontakt (IDOsebe, IDKontat, Value) VALUES (1, 3, \"ana@example.si\")",
        "INSERT INTO TOsnovniPodVezaKontakt (IDOsebe, IDKontat, Value) VALUES (2, 3, \"bojan@example.si\")",
        "INSERT INTO TOsnovniPodVezaKontakt (IDOsebe, IDKontat, Value) VALUES (3, 3, \"info@cebelica.si\")",
        "INSERT INTO TOsnovniPodVezaKontakt (IDOsebe, IDKontat, Value) VALUES (5, 3, \"info@alfa.si\")",
        "INSERT INTO TOsnovniPodVezaKontakt (IDOsebe, IDKontat, Value) VALUES (5, 3, \"info@alfa.si\")",

        "INSERT INTO TOsnovniPodVezaKategorje (IDOsebe, IDkat) VALUES (1, 1)",
        "INSERT INTO TOsnovniPodVezaKategorje (IDOsebe, IDkat) VALUES (1, 2)",
        "INSERT INTO TOsnovniPodVezaKategorje (IDOsebe, IDkat) VALUES (2, 2)",
        "INSERT INTO TOsnovniPodVezaKategorje (IDOsebe, IDkat) VALUES (2, 3)",
        "INSERT INTO TOsnovniPodVezaKategorje (IDOsebe, IDkat) VALUES (3, 1)",

        "INSERT INTO TOsnovniPodVezaOpombe (IDOsebe, Value, Sort) VALUES (1, \"Klic v ponedeljek\", 1)",
        "INSERT INTO TOsnovniPodVezaOpombe (IDOsebe, Value, Sort) VALUES (2, \"Poslati ponudbo\", 2)",
        "INSERT INTO TOsnovniPodVezaOpombe (IDOsebe, Value, Sort) VALUES (2, \"Dogovor o ceni\", 1)",
        "INSERT INTO TOsnovniPodDodatno (IDOsebe, Polje, Value, Sort) VALUES (1, \"Hobi\", \"Kolesarjenje\", 1)",
        "INSERT INTO TOsnovniPodVezaAlarmi (IDOsebe, IDAlarm, DatumCas, Value, AlertDaysBefore) "
        "VALUES (1, 1, '1990-05-03T00:00:00.000', \"Anin rojstni dan\", 3)",

        "INSERT INTO TSharingProgs (IDOsebe, ProgID, InProgIDOsebe, WasNotRefreshed) VALUES (2, \"AB\", 77, True)",
        "INSERT INTO TSharingProgsQuery (ProgID, ProgIDQueryCom, InProgIDOsebe, SearchKWS) VALUES (\"AB\", \"Q1\", 77, \"Račun 2026/1\")",
        "INSERT INTO TSharingProgsQuery (ProgID, ProgIDQueryCom, InProgIDOsebe, SearchKWS) VALUES (\"AB\", \"Q2\", 77, \"Drugo iskanje\")",
    };
    for (const char *statement : statements)
        database.run(QString::fromUtf8(statement));
}
