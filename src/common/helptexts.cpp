#include "common/helptexts.h"

using namespace Qt::StringLiterals;

namespace {

QStringList warehouse()
{
    return {
        u"Ogni prodotto del magazzino ha la propria scheda, nella quale si registrano il codice "
        u"dell'articolo, il costo unitario, il nome, la giacenza, la soglia di avviso dei pezzi "
        u"rimasti, l'aspetto esteriore del bene, la categoria merceologica, le caratteristiche, "
        u"la collocazione in magazzino, la ditta fornitrice, l'agente, il recapito telefonico, il "
        u"documento di acquisto, la modalità di pagamento, la data di scadenza, le note, il "
        u"prezzo di vendita e l'avvenuto pagamento. Non occorre compilare tutti i campi, ma "
        u"conviene indicare sempre almeno il codice, il nome e la categoria merceologica, che "
        u"servono a riconoscere il prodotto negli elenchi e nell'inventario."_s,

        u"Per creare una nuova scheda fare clic su «Nuovo», compilare i campi, aggiungere se si "
        u"desidera la foto del prodotto e fare clic su «Salva»: la scheda viene aggiunta in fondo "
        u"all'archivio e il suo numero compare accanto alle frecce. Per modificare una scheda "
        u"esistente la si cerca con «Trova» oppure la si raggiunge scorrendo l'archivio con le "
        u"frecce, si cambiano i dati che interessano e si fa di nuovo clic su «Salva»."_s,

        u"Per fotografare il prodotto con una webcam fare clic su «WebCam», sotto la foto: nella "
        u"finestra che si apre fare clic su «Accendi webcam», inquadrare il prodotto, fare clic "
        u"su «Cattura foto» e poi su «Importa foto in scheda». La foto passa nella scheda e viene "
        u"conservata con il successivo «Salva»."_s,

        u"La foto viene ridotta per stare nel riquadro di anteprima della scheda; l'icona della "
        u"lente la mostra nelle sue dimensioni reali. Con «Salva foto» la si può salvare su "
        u"disco, ritoccarla con un qualsiasi programma di grafica e ricaricarla nella scheda con "
        u"«Carica foto». Allo stesso modo si caricano le foto scattate con una fotocamera "
        u"digitale, in formato JPEG."_s,

        u"Il campo «Giacenza» indica quanti pezzi del prodotto sono presenti in magazzino. I "
        u"pulsanti più e meno accanto al campo aprono una piccola finestra in cui indicare la "
        u"quantità arrivata o uscita: il programma calcola la nuova giacenza e la riporta nella "
        u"scheda, che va poi salvata."_s,

        u"Nel campo «Avviso n. pezzi rimasti» si indica la soglia sotto la quale il prodotto è "
        u"considerato in esaurimento. Il pulsante «Sottoscorta» elenca tutti i prodotti la cui "
        u"giacenza è scesa fino alla soglia o al di sotto, così da sapere in ogni momento che "
        u"cosa riordinare."_s,

        u"Il campo «Note» accoglie qualsiasi annotazione sul prodotto. Poiché la ricerca può "
        u"avvenire anche su questo campo, conviene scrivervi le parole chiave che aiutano a "
        u"ritrovare la scheda, per esempio un nome alternativo o l'uso a cui il prodotto è "
        u"destinato."_s,

        u"Il pulsante «Trova» cerca le schede anche in base a una parte del testo: bastano poche "
        u"lettere del codice, del nome o di un altro campo. Si può cercare in un solo campo o in "
        u"più campi contemporaneamente, e in questo caso vengono trovate le schede che "
        u"soddisfano tutte le condizioni. L'elenco dei risultati può essere stampato, e un "
        u"doppio clic su una riga mostra la scheda corrispondente."_s,

        u"Con il pulsante «Allegati» si collegano alla scheda fino a tre file esterni di "
        u"qualsiasi tipo (fatture, schede tecniche, disegni, certificati), ciascuno con una breve "
        u"descrizione. I file vengono copiati nella cartella Documenti_Allegati del programma, e "
        u"il pulsante «Apri» accanto a ciascun allegato lo apre con il programma che il sistema "
        u"associa a quel tipo di file."_s,

        u"Il pulsante «Duplica» prepara una nuova scheda con gli stessi dati di quella "
        u"visualizzata: è comodo per registrare prodotti simili, cambiando solo i campi che "
        u"differiscono prima di salvare."_s,

        u"La casella «Pagato» indica che l'acquisto del prodotto è stato saldato. Il pulsante «Da "
        u"saldare» elenca le schede in cui la casella non è contrassegnata, cioè i pagamenti "
        u"ancora da effettuare."_s,

        u"Il pulsante «Anteprima» mostra la scheda come verrà stampata su un foglio A4, con o "
        u"senza la foto, e il pulsante «Stampa» la invia alla stampante. Il pulsante «Esporta» "
        u"trasferisce tutte le schede dell'archivio in un foglio di calcolo in formato XLS."_s,
    };
}

QStringList inventory()
{
    return {
        u"L'inventario calcola il valore della merce in magazzino, per tutti i prodotti oppure "
        u"per una sola categoria merceologica. Dalla schermata iniziale fare clic su «Inventario "
        u"merci», scrivere la categoria nell'apposito campo e fare clic su «Visualizza»; per "
        u"l'inventario di tutti i prodotti fare clic su «Visualizza» senza indicare alcuna "
        u"categoria."_s,

        u"L'inventario parziale raccoglie le schede il cui campo «Categoria merceologica» "
        u"contiene il testo indicato, senza distinguere tra lettere maiuscole e minuscole. Per "
        u"questo i prodotti di una stessa categoria devono riportare nelle schede lo stesso "
        u"valore, scritto sempre allo stesso modo: un prodotto registrato con una categoria "
        u"scritta diversamente, o lasciata vuota, non compare nell'inventario di quella "
        u"categoria."_s,

        u"La finestra dell'inventario elenca, per ogni prodotto, il codice, il nome, la data di "
        u"scadenza, il costo unitario, la giacenza e il valore, cioè il costo moltiplicato per "
        u"la giacenza. In fondo all'elenco compare il capitale totale della merce "
        u"inventariata."_s,

        u"Il pulsante «Stampa inventario» stampa l'elenco visualizzato, con il valore totale in "
        u"fondo."_s,
    };
}

QStringList catalogues()
{
    return {
        u"I listini prezzi si gestiscono in due ambienti di lavoro, raggiungibili dalla "
        u"schermata iniziale: «Crea nuovo listino» prepara un nuovo listino vuoto, mentre «Apri "
        u"listino esistente» permette di scegliere uno dei listini già creati per completarlo, "
        u"stamparlo oppure eliminarlo."_s,

        u"Ogni listino è un file conservato nella cartella del programma, e le foto dei suoi "
        u"prodotti si trovano nella cartella Foto_Listino al suo interno: per una copia di "
        u"sicurezza dei listini basta copiare l'intera cartella del programma su un altro disco "
        u"o su una chiavetta USB, e per ripristinarli basta ricopiarla al suo posto."_s,

        u"Per creare un nuovo listino fare clic su «Crea nuovo listino» nella schermata "
        u"iniziale, scrivere il nome del listino nell'apposito campo e confermare con «Applica e "
        u"chiudi». Il pulsante «Annulla» torna alla schermata iniziale senza creare nulla."_s,

        u"Il listino viene registrato come file con il nome scelto e l'estensione LIS, e può "
        u"contenere un numero illimitato di pagine. Conviene scegliere un nome breve e "
        u"significativo, che ricordi il contenuto o il periodo di validità (per esempio «Dolci» "
        u"o «Ricambi primavera»), perché con quel nome il listino compare nell'elenco dei "
        u"listini e in testa a ogni pagina stampata."_s,

        u"Dopo «Applica e chiudi» il listino è pronto ma ancora vuoto. Per lavorarci fare clic su "
        u"«Apri listino esistente» nella schermata iniziale, scegliere il listino nell'elenco e "
        u"fare clic su «Apri archivio»: si apre la gestione delle pagine del listino."_s,

        u"L'icona del cestino, sopra l'elenco dei listini, elimina il listino selezionato dopo "
        u"una richiesta di conferma. L'eliminazione è definitiva: il listino non può più essere "
        u"recuperato, se non da una copia di sicurezza della cartella del programma."_s,
    };
}

QStringList priceList()
{
    return {
        u"La gestione del listino prezzi è l'ambiente in cui si compilano, si stampano e si "
        u"archiviano le pagine di un listino. Ogni pagina presenta otto articoli, ciascuno con "
        u"la foto, il nome, una descrizione su due righe, il codice e il prezzo, e corrisponde a "
        u"un foglio A4 stampato."_s,

        u"Per creare una pagina fare clic sull'icona del foglio bianco (Nuovo), importare i "
        u"prodotti dal magazzino oppure scriverli a mano, e fare clic sull'icona del dischetto "
        u"(Salva): la pagina viene aggiunta in fondo al listino. Per modificare una pagina "
        u"esistente la si raggiunge con le frecce, si cambia quel che occorre e si salva di "
        u"nuovo."_s,

        u"Si sceglie liberamente quali prodotti compaiono nella pagina e in quale ordine: la "
        u"freccia verde di ciascun riquadro apre la finestra di importazione, nella quale si "
        u"cerca il prodotto nell'archivio del magazzino e lo si sceglie con un doppio clic; "
        u"codice, nome, descrizione, prezzo e foto passano nel riquadro. In alternativa si "
        u"compilano i campi a mano e si fa clic sul riquadro della foto per caricare "
        u"un'immagine dal disco."_s,

        u"Il pulsante «Anteprima» mostra la pagina come verrà stampata: un foglio A4 con gli "
        u"otto riquadri dei prodotti, il nome del listino in alto e, in basso, il numero della "
        u"pagina, che corrisponde alla sua posizione nell'archivio del listino. Il pulsante "
        u"«Stampa» la invia alla stampante."_s,
    };
}

QStringList exportTopic()
{
    return {
        u"Il pulsante «Esporta» della scheda di magazzino trasferisce le schede dell'archivio in "
        u"un foglio di calcolo in formato XLS, che si apre con Microsoft Excel o con qualsiasi "
        u"altro programma per fogli di calcolo."_s,

        u"Si apre una finestra con la griglia di tutte le schede. Facendo clic sull'icona del "
        u"foglio di calcolo il programma crea il file Magazzino.xls nella cartella del programma "
        u"e chiede se aprirlo subito: rispondendo «Sì» il file si apre nel programma per fogli "
        u"di calcolo. Prima di esportare si possono ritoccare nella griglia il nome, l'aspetto, "
        u"la categoria, il recapito, le note, il prezzo e il pagamento: le modifiche passano nel "
        u"foglio di calcolo ma non cambiano l'archivio."_s,

        u"Aperto il file, conviene salvarlo con un nome a scelta e nella cartella preferita, "
        u"perché l'esportazione successiva sostituisce Magazzino.xls senza chiedere "
        u"conferma."_s,
    };
}

QStringList copiesTopic()
{
    return {
        u"A ogni avvio, subito dopo la password, Scaffaria salva da sé una copia di sicurezza di "
        u"tutti i dati: l'archivio del magazzino con le foto delle schede, i documenti "
        u"allegati, i listini prezzi con le loro foto e la password. La copia è un unico file "
        u"ZIP nella cartella Copie_di_sicurezza, dentro la cartella del programma, con la data "
        u"e l'ora nel nome; se dall'ultima copia nulla è cambiato, non ne viene salvata una "
        u"nuova. Le copie automatiche si aprono con qualsiasi gestore di file."_s,

        u"Il programma conserva le dieci copie automatiche più recenti e, per ciascuno degli "
        u"ultimi dodici mesi, la più recente di quel mese; le altre copie automatiche vengono "
        u"eliminate. Le copie salvate a mano non vengono mai eliminate dal programma."_s,

        u"La finestra si apre con il comando «Copie di sicurezza» della schermata iniziale ed "
        u"elenca le copie della cartella, dalla più recente: per ciascuna la data e l'ora, il "
        u"numero delle schede e dei listini che contiene e la sua dimensione."_s,

        u"«Salva copia ora» salva subito una nuova copia nella cartella, anche se i dati non "
        u"sono cambiati. «Salva copia in...» salva la copia nel luogo che si sceglie: una "
        u"chiavetta USB, un altro disco o una cartella di rete. Le copie nella cartella del "
        u"programma restano sullo stesso disco dei dati: solo una copia su una chiavetta USB o "
        u"su un altro disco protegge i dati da un guasto del disco, per cui conviene farne una "
        u"spesso e conservarla altrove."_s,

        u"«Ripristina» riporta i dati a quelli della copia scelta nell'elenco, «Ripristina da "
        u"file...» a quelli di una copia scelta da un file, per esempio su una chiavetta USB. "
        u"Prima di cambiare qualsiasi cosa il programma controlla che la copia sia integra e "
        u"chiede conferma; poi salva i dati attuali in una nuova copia, così che nulla vada "
        u"perso, e mette al loro posto i file della copia. Un listino o una foto aggiunti dopo "
        u"la copia vengono tolti: dopo il ripristino i dati sono esattamente quelli della "
        u"copia. «Chiudi» torna alla schermata iniziale."_s,
    };
}

} // namespace

namespace HelpTexts {

QList<Topic> topics()
{
    return {Topic::Avvio,     Topic::Magazzino, Topic::Esportazione, Topic::Inventario,
            Topic::Cataloghi, Topic::Listino,   Topic::Copie};
}

QString title(Topic topic)
{
    switch (topic) {
    case Topic::Avvio:
        return u"Uno sguardo a Scaffaria."_s;
    case Topic::Magazzino:
        return u"App Magazzino Prodotti."_s;
    case Topic::Listino:
        return u"App Gestione Listino Prezzi."_s;
    case Topic::Cataloghi:
        return u"Creazione e apertura dei listini prezzi."_s;
    case Topic::Inventario:
        return u"App Inventario Merce."_s;
    case Topic::Esportazione:
        return u"Esportazione magazzino prodotti in Microsoft Excel."_s;
    case Topic::Copie:
        return u"Copie di sicurezza dei dati."_s;
    }
    return {};
}

QString screenName(Topic topic)
{
    switch (topic) {
    case Topic::Avvio:
        return u"La schermata iniziale"_s;
    case Topic::Magazzino:
        return u"Le schede del magazzino prodotti"_s;
    case Topic::Listino:
        return u"Le pagine del listino prezzi"_s;
    case Topic::Cataloghi:
        return u"Creazione e apertura dei listini"_s;
    case Topic::Inventario:
        return u"L'inventario merce"_s;
    case Topic::Esportazione:
        return u"L'esportazione in un foglio di calcolo"_s;
    case Topic::Copie:
        return u"Le copie di sicurezza"_s;
    }
    return {};
}

QStringList hubOpening()
{
    return {
        u"Scaffaria è il programma per gestire il magazzino e i listini prezzi di un negozio o di "
        u"una piccola azienda. Tiene l'archivio dei prodotti in magazzino, una scheda per "
        u"articolo; prepara listini prezzi su fogli A4 con le foto dei prodotti; acquisisce le "
        u"foto da una webcam o le carica dal disco; elenca gli articoli in esaurimento; calcola "
        u"l'inventario totale o parziale della merce con il relativo valore capitale; esporta "
        u"l'archivio in un foglio di calcolo; gestisce un numero illimitato di listini prezzi, "
        u"con otto prodotti per ogni foglio A4."_s,

        u"Dopo la password si apre la schermata iniziale, dalla quale si raggiungono i quattro "
        u"ambienti di lavoro: «Magazzino prodotti» per le schede degli articoli, «Inventario "
        u"merci» per il valore della merce, «Crea nuovo listino» e «Apri listino esistente» per "
        u"i listini prezzi. Ogni ambiente si apre con un clic sulla sua immagine o sul pulsante "
        u"sottostante e, quando lo si chiude, riporta alla schermata iniziale. Le icone agli "
        u"angoli mostrano le informazioni sul programma, questa guida e i crediti, e chiudono il "
        u"programma."_s,

        u"Tutti gli archivi di Scaffaria (le schede del magazzino con le loro foto, i documenti "
        u"allegati, i listini prezzi con le loro foto) si trovano nella cartella del programma. "
        u"A ogni avvio il programma ne salva da sé una copia di sicurezza nella cartella "
        u"Copie_di_sicurezza, e il comando «Copie di sicurezza» della schermata iniziale salva "
        u"una copia su una chiavetta USB o ripristina i dati di una copia. Anche copiare "
        u"l'intera cartella su un altro disco, su una chiavetta USB o in rete è una copia di "
        u"sicurezza; per ripristinare i dati basta ricopiarla al suo posto."_s,
    };
}

QStringList hubClosing()
{
    return {
        u"L'accesso al programma è protetto da una password, che l'utente autorizzato può "
        u"cambiare in qualsiasi momento dalla schermata di accesso. La password per il primo "
        u"accesso, e dopo ogni nuova installazione, è «chiaveiniziale»: conviene sostituirla "
        u"subito con una password personale."_s,

        u"Scaffaria funziona anche da una chiavetta USB: basta copiarvi l'intera cartella del "
        u"programma e avviarlo da lì, portando con sé archivi e listini. Copiare la cartella "
        u"sulla chiavetta è anche il modo più rapido per fare una copia di sicurezza."_s,

        u"Il programma si può usare anche in una rete locale: mettendo la cartella del "
        u"programma in una cartella condivisa, più postazioni consultano gli stessi archivi. "
        u"Poiché ogni modifica raggiunge l'archivio solo al salvataggio, è bene che una sola "
        u"persona alla volta modifichi le schede o le pagine di uno stesso listino."_s,

        u"Scaffaria è pensato per chi vuole tenere in ordine il proprio magazzino e preparare "
        u"listini prezzi curati senza imparare programmi complessi: poche schermate, sempre "
        u"uguali, e tutti i dati in una cartella che si copia e si porta con sé."_s,
    };
}

// The keys of each screen, listed last in its topic.
QString hubKeys()
{
    return u"Tasti rapidi: F1 apre questa guida, F2 apre «Magazzino prodotti», F3 «Inventario "
           u"merci», F4 «Crea nuovo listino» e F5 «Apri listino esistente»; F6 apre le «Copie di "
           u"sicurezza» e F7 l'«Archivio condiviso»; Ctrl+I apre le informazioni sul programma e "
           u"Ctrl+R i crediti. Tab e "
           u"Maiusc+Tab passano da un comando all'altro, e Invio o la barra spaziatrice attivano "
           u"il comando evidenziato."_s;
}

QString warehouseKeys()
{
    return u"Tasti rapidi, validi in qualsiasi campo: Ctrl+S salva la scheda, Ctrl+N prepara una "
           u"nuova scheda, Ctrl+D duplica la scheda, Ctrl+F apre la ricerca, Ctrl+P stampa la "
           u"scheda; Pag su e Pag giù mostrano la scheda precedente e la successiva, Ctrl+Inizio "
           u"e Ctrl+Fine la prima e l'ultima; F1 apre questa guida. F2 apre gli allegati, F3 "
           u"l'anteprima della scheda, F4 l'elenco «Da saldare», F5 l'elenco «Sottoscorta» e F6 "
           u"l'esportazione; F7 carica la foto da un file, F8 apre la «WebCam», F9 salva la "
           u"foto, F11 la ingrandisce e F12 la cancella. Negli elenchi le frecce scelgono la "
           u"riga e Invio apre la scheda, come il doppio clic, ed Esc chiude l'elenco. Esc "
           u"chiude ogni finestra che ha il pulsante «Annulla»."_s;
}

QString priceListKeys()
{
    return u"Tasti rapidi, validi in qualsiasi campo: Ctrl+S salva la pagina, Ctrl+N prepara una "
           u"nuova pagina, F3 ne mostra l'anteprima, Ctrl+P la stampa; Pag su e Pag giù mostrano "
           u"la pagina precedente e la successiva, Ctrl+Inizio e Ctrl+Fine la prima e l'ultima; "
           u"F1 apre questa guida. In un campo di un prodotto, Ctrl+I sceglie la foto del "
           u"prodotto e Ctrl+M importa un articolo dal magazzino. Nell'elenco dell'importazione "
           u"le frecce scelgono la riga e Invio la importa, come il doppio clic."_s;
}

QString catalogueKeys()
{
    return u"Tasti rapidi: nel nome del nuovo listino Invio equivale ad «Applica e chiudi»; "
           u"nell'elenco dei listini le frecce scelgono il listino, Invio lo apre, come «Apri "
           u"archivio», e Canc lo elimina, come il pulsante del cestino; F1 apre questa guida; Esc "
           u"equivale ad «Annulla»."_s;
}

QString inventoryKeys()
{
    return u"Tasti rapidi: F1 apre questa guida; nell'elenco dell'inventario le frecce, Pag su e "
           u"Pag giù spostano la riga scelta."_s;
}

QString copiesKeys()
{
    return u"Tasti rapidi: Ctrl+S equivale a «Salva copia ora», Ctrl+Maiusc+S a «Salva copia "
           u"in...», Ctrl+R a «Ripristina» e Ctrl+O a «Ripristina da file...»; nell'elenco le "
           u"frecce scelgono la copia e Invio la ripristina, come il doppio clic; Tab passa "
           u"dall'elenco ai pulsanti e Invio dà il comando del pulsante evidenziato; F1 apre "
           u"questa guida; Esc equivale a «Chiudi»."_s;
}

QString exportKeys()
{
    return u"Tasti rapidi: Ctrl+E esporta le schede, come l'icona del foglio di calcolo; F1 apre "
           u"questa guida; Esc chiude la finestra."_s;
}

QStringList paragraphs(Topic topic)
{
    switch (topic) {
    case Topic::Avvio:
        // The hub's page takes the user through every environment, so it repeats the pages
        // of the warehouse, the inventory and the price lists word for word.
        // Its keys paragraph is followed by those of the other pages.
        return hubOpening() + warehouse() + inventory() + catalogues().mid(2) + priceList() +
               hubClosing() +
               QStringList{hubKeys(), warehouseKeys(), inventoryKeys(), catalogueKeys(),
                           priceListKeys()};
    case Topic::Magazzino:
        return warehouse() + QStringList{warehouseKeys()};
    case Topic::Listino:
        return priceList() + QStringList{priceListKeys()};
    case Topic::Cataloghi:
        return catalogues() + QStringList{catalogueKeys()};
    case Topic::Inventario:
        return inventory() + QStringList{inventoryKeys()};
    case Topic::Esportazione:
        return exportTopic() + QStringList{exportKeys()};
    case Topic::Copie:
        return copiesTopic() + QStringList{copiesKeys()};
    }
    return {};
}

QString text(Topic topic) { return paragraphs(topic).join(u"\r\n\r\n"_s); }

} // namespace HelpTexts
