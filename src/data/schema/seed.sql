-- Rows every installed database starts with, in the program's own SQL dialect.
-- Statements end with ";" at the end of a line.

INSERT INTO TUsers (UserName) VALUES ("Uporabnik");

INSERT INTO TMaticniPodaci (IDFirma, Naziv, Naslov, PSt, Kraj, DavcnaSt, MaticnaSt, TRR, Vlozek, VlozekNum, OsnovniKapital, OsnovniKapitalVal)
VALUES (1, "Moje podjetje d.o.o.", "Slovenska cesta 1", "1000", "Ljubljana", "SI12345678", "1234567000", "02010-0012345641", "Okrožno sodišče v Ljubljani", "1/12345/00", 7500, "EUR");

INSERT INTO TDrzave (Naziv, Skrajsano) VALUES ("Slovenija", "SLO");
INSERT INTO TDrzave (Naziv, Skrajsano) VALUES ("Hrvaška", "HRV");
INSERT INTO TDrzave (Naziv, Skrajsano) VALUES ("Avstrija", "AUT");
INSERT INTO TDrzave (Naziv, Skrajsano) VALUES ("Italija", "ITA");
INSERT INTO TDrzave (Naziv, Skrajsano) VALUES ("Madžarska", "HUN");
INSERT INTO TDrzave (Naziv, Skrajsano) VALUES ("Nemčija", "DEU");

INSERT INTO TPokrajina (IDDRZAVA, Naziv, Skrasano) VALUES (1, "Osrednjeslovenska", "OSR");
INSERT INTO TPokrajina (IDDRZAVA, Naziv, Skrasano) VALUES (1, "Gorenjska", "GOR");
INSERT INTO TPokrajina (IDDRZAVA, Naziv, Skrasano) VALUES (1, "Štajerska", "ŠTA");
INSERT INTO TPokrajina (IDDRZAVA, Naziv, Skrasano) VALUES (1, "Savinjska", "SAV");
INSERT INTO TPokrajina (IDDRZAVA, Naziv, Skrasano) VALUES (1, "Dolenjska", "DOL");
INSERT INTO TPokrajina (IDDRZAVA, Naziv, Skrasano) VALUES (1, "Primorska", "PRI");
INSERT INTO TPokrajina (IDDRZAVA, Naziv, Skrasano) VALUES (1, "Koroška", "KOR");
INSERT INTO TPokrajina (IDDRZAVA, Naziv, Skrasano) VALUES (1, "Pomurska", "POM");

INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Ljubljana", "1000");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Maribor", "2000");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Celje", "3000");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Kranj", "4000");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Nova Gorica", "5000");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Koper", "6000");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Novo mesto", "8000");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Murska Sobota", "9000");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Ptuj", "2250");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Velenje", "3320");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Škofja Loka", "4220");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Žalec", "3310");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Šentjur", "3230");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Črnomelj", "8340");
INSERT INTO TKraj (IDDRZAVA, Naziv, Zip) VALUES (1, "Slovenj Gradec", "2380");

INSERT INTO TKategorije (Naziv, IkonaPath) VALUES ("Stranke", "");
INSERT INTO TKategorije (Naziv, IkonaPath) VALUES ("Dobavitelji", "");
INSERT INTO TKategorije (Naziv, IkonaPath) VALUES ("Poslovni partnerji", "");
INSERT INTO TKategorije (Naziv, IkonaPath) VALUES ("Zaposleni", "");
INSERT INTO TKategorije (Naziv, IkonaPath) VALUES ("Prijatelji", "");
INSERT INTO TKategorije (Naziv, IkonaPath) VALUES ("Družina", "");

INSERT INTO TKontakti (Naziv, Vrsta, Sort, IkonaPath, IsNaslov, StVrstic) VALUES ("Telefon", 3, 1, "", False, 0);
INSERT INTO TKontakti (Naziv, Vrsta, Sort, IkonaPath, IsNaslov, StVrstic) VALUES ("Mobilni telefon", 4, 2, "", False, 0);
INSERT INTO TKontakti (Naziv, Vrsta, Sort, IkonaPath, IsNaslov, StVrstic) VALUES ("Elektronska pošta", 1, 3, "", False, 0);
INSERT INTO TKontakti (Naziv, Vrsta, Sort, IkonaPath, IsNaslov, StVrstic) VALUES ("Spletna stran", 2, 4, "", False, 0);
INSERT INTO TKontakti (Naziv, Vrsta, Sort, IkonaPath, IsNaslov, StVrstic) VALUES ("Faks", 5, 5, "", False, 0);
INSERT INTO TKontakti (Naziv, Vrsta, Sort, IkonaPath, IsNaslov, StVrstic) VALUES ("Poštni naslov", 6, 6, "", True, 3);
INSERT INTO TKontakti (Naziv, Vrsta, Sort, IkonaPath, IsNaslov, StVrstic) VALUES ("Kontaktna oseba", 7, 7, "", False, 0);
INSERT INTO TKontakti (Naziv, Vrsta, Sort, IkonaPath, IsNaslov, StVrstic) VALUES ("Drugo", 0, 8, "", False, 0);

INSERT INTO TEventAlarms (NazivAlarma, Ikona, BackColor, FontColor, Flashing, AlertNDaysBefore, AlertType) VALUES ("Rojstni dan", "", 12648447, 0, False, 3, 2);
INSERT INTO TEventAlarms (NazivAlarma, Ikona, BackColor, FontColor, Flashing, AlertNDaysBefore, AlertType) VALUES ("Obletnica", "", 16777164, 0, False, 3, 2);
INSERT INTO TEventAlarms (NazivAlarma, Ikona, BackColor, FontColor, Flashing, AlertNDaysBefore, AlertType) VALUES ("Mesečni opomnik", "", 13434828, 0, False, 1, 1);
INSERT INTO TEventAlarms (NazivAlarma, Ikona, BackColor, FontColor, Flashing, AlertNDaysBefore, AlertType) VALUES ("Rok", "", 255, 16777215, True, 2, 0);
INSERT INTO TEventAlarms (NazivAlarma, Ikona, BackColor, FontColor, Flashing, AlertNDaysBefore, AlertType) VALUES ("Sestanek", "", 16763904, 0, False, 0, 0);

INSERT INTO TRelacije (ImeTabele, ImePolja, RelativnoZTabelo, RelativnoZPoljem, CantDeleteMessage) VALUES ("TDRZAVE", "IDDRZAVE", "TKraj", "IDDRZAVA", "Država je navedena pri krajih.");
INSERT INTO TRelacije (ImeTabele, ImePolja, RelativnoZTabelo, RelativnoZPoljem, CantDeleteMessage) VALUES ("TDRZAVE", "IDDRZAVE", "TPokrajina", "IDDRZAVA", "Država je navedena pri pokrajinah.");
INSERT INTO TRelacije (ImeTabele, ImePolja, RelativnoZTabelo, RelativnoZPoljem, CantDeleteMessage) VALUES ("TDRZAVE", "IDDRZAVE", "TOsnovniPod", "IDDRZAVA", "Država je navedena pri osebah.");
INSERT INTO TRelacije (ImeTabele, ImePolja, RelativnoZTabelo, RelativnoZPoljem, CantDeleteMessage) VALUES ("TKRAJ", "IDKRAJ", "TOsnovniPod", "IDKRAJ", "Kraj je naveden pri osebah.");
INSERT INTO TRelacije (ImeTabele, ImePolja, RelativnoZTabelo, RelativnoZPoljem, CantDeleteMessage) VALUES ("TPOKRAJINA", "IDPOK", "TOsnovniPod", "IDPOK", "Pokrajina je navedena pri osebah.");
INSERT INTO TRelacije (ImeTabele, ImePolja, RelativnoZTabelo, RelativnoZPoljem, CantDeleteMessage) VALUES ("TKATEGORIJE", "IDkat", "TOsnovniPodVezaKategorje", "IDkat", "Kategorija je dodeljena osebam.");
INSERT INTO TRelacije (ImeTabele, ImePolja, RelativnoZTabelo, RelativnoZPoljem, CantDeleteMessage) VALUES ("TKONTAKTI", "ID", "TOsnovniPodVezaKontakt", "IDKontat", "Vrsta kontakta je uporabljena pri osebah.");
INSERT INTO TRelacije (ImeTabele, ImePolja, RelativnoZTabelo, RelativnoZPoljem, CantDeleteMessage) VALUES ("TEVENTALARMS", "ID", "TOsnovniPodVezaAlarmi", "IDAlarm", "Vrsta alarma je uporabljena pri osebah.");
INSERT INTO TRelacije (ImeTabele, ImePolja, RelativnoZTabelo, RelativnoZPoljem, CantDeleteMessage) VALUES ("TOSNOVNIPOD", "ID", "TOsnovniPod", "IDPodjetja", "V podjetju so zaposlene osebe.");

INSERT INTO TSifreBank (SifraBanke, SkNazivBanke, NazivBanke) VALUES ("01000", "BS", "Banka Slovenije");
INSERT INTO TSifreBank (SifraBanke, SkNazivBanke, NazivBanke) VALUES ("02000", "NLB", "Nova Ljubljanska banka d.d.");
INSERT INTO TSifreBank (SifraBanke, SkNazivBanke, NazivBanke) VALUES ("04000", "NKBM", "Nova KBM d.d.");
INSERT INTO TSifreBank (SifraBanke, SkNazivBanke, NazivBanke) VALUES ("05100", "Abanka", "Abanka d.d.");
INSERT INTO TSifreBank (SifraBanke, SkNazivBanke, NazivBanke) VALUES ("06000", "Banka Celje", "Banka Celje d.d.");
INSERT INTO TSifreBank (SifraBanke, SkNazivBanke, NazivBanke) VALUES ("07000", "Gorenjska banka", "Gorenjska banka d.d.");
INSERT INTO TSifreBank (SifraBanke, SkNazivBanke, NazivBanke) VALUES ("10100", "Intesa Sanpaolo", "Banka Intesa Sanpaolo d.d.");
INSERT INTO TSifreBank (SifraBanke, SkNazivBanke, NazivBanke) VALUES ("19100", "DBS", "Deželna banka Slovenije d.d.");
INSERT INTO TSifreBank (SifraBanke, SkNazivBanke, NazivBanke) VALUES ("29000", "UniCredit", "UniCredit Banka Slovenija d.d.");
INSERT INTO TSifreBank (SifraBanke, SkNazivBanke, NazivBanke) VALUES ("33000", "Addiko", "Addiko Bank d.d.");
INSERT INTO TSifreBank (SifraBanke, SkNazivBanke, NazivBanke) VALUES ("34000", "Sparkasse", "Banka Sparkasse d.d.");
INSERT INTO TSifreBank (SifraBanke, SkNazivBanke, NazivBanke) VALUES ("61000", "DH", "Delavska hranilnica d.d.");
