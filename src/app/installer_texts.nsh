; The installer's own texts (code page 1250, as the program's; tools/package tells makensis so).
; Everything else the installer shows comes in Croatian from NSIS's own language file.
; $INSTDIR stands for the folder chosen.
!define TEXT_PRODUCT "Snimanje podataka"
!define TEXT_PUBLISHER "Snimanje podataka (sigurnosne kopije baza raèunovodstvenog programa)"
!define TEXT_CHOOSE_FOLDER "Odaberite mapu u kojoj raèunovodstveni program drži svoje baze (BRODANIKVESTRA_G<godina>.fdb). Snimanje podataka instalira se u tu mapu, jer godišnje baze traži pokraj sebe."
!define TEXT_NO_DATABASES "U mapi $INSTDIR nema nijedne baze (BRODANIKVESTRA_G*.fdb).$\r$\n$\r$\nSnimanje podataka traži baze u mapi u koju je instaliran. Želite li ga ipak instalirati u tu mapu?"
!define TEXT_NEEDS_ADMIN "U mapu $INSTDIR ne može se pisati ni s administratorskim pravima. Odaberite drugu mapu."
