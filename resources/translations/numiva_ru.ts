<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name></name>
    <message id="OK">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="NoData">
        <source>No data</source>
        <translation>Нет данных</translation>
    </message>
    <message id="CustomDataSource">
        <source>Custom data source</source>
        <translation>Пользовательский источник</translation>
    </message>
    <message id="CBR-CurrencyDataSource">
        <source>Central Bank of Russia</source>
        <translation>Центральный банк РФ</translation>
    </message>
    <message id="YFinance-CurrencyDataSource">
        <source>Yahoo Finance</source>
        <translation>Yahoo Finance</translation>
    </message>
    <message id="ECB-CurrencyDataSource">
        <source>European Central Bank</source>
        <translation>Европейский центральный банк</translation>
    </message>
    <message id="Bloomberg-CurrencyDataSource">
        <source>Bloomberg</source>
        <translation>Bloomberg</translation>
    </message>
    <message id="PayPal-CurrencyDataSource">
        <source>PayPal</source>
        <translation>PayPal</translation>
    </message>
    <message id="OCBC-CurrencyDataSource">
        <source>OCBC Bank</source>
        <translation>Банк OCBC</translation>
    </message>
    <message id="BankUa-CurrencyDataSource">
        <source>BankUa</source>
        <translation>BankUa</translation>
    </message>
    <message id="1Day">
        <source>1 day</source>
        <translation>1 день</translation>
    </message>
    <message id="1Week">
        <source>1 week</source>
        <translation>1 неделя</translation>
    </message>
    <message id="1Month">
        <source>1 month</source>
        <translation>1 месяц</translation>
    </message>
    <message id="3Months">
        <source>3 months</source>
        <translation>3 месяца</translation>
    </message>
    <message id="6Months">
        <source>6 months</source>
        <translation>6 месяцев</translation>
    </message>
    <message id="1Year">
        <source>1 year</source>
        <translation>1 год</translation>
    </message>
    <message id="2Years">
        <source>2 years</source>
        <translation>2 года</translation>
    </message>
    <message id="3Years">
        <source>3 years</source>
        <translation>3 года</translation>
    </message>
    <message id="5Years">
        <source>5 years</source>
        <translation>5 лет</translation>
    </message>
    <message id="10Years">
        <source>10 years</source>
        <translation>10 лет</translation>
    </message>
    <message id="OverallPeriod">
        <source>Overall</source>
        <translation>Весь период</translation>
    </message>
    <message id="GBX">
        <source>British penny</source>
        <translation>Британский пенни</translation>
    </message>
    <message id="ZAC">
        <source>South African cent</source>
        <translation>Южноафриканский цент</translation>
    </message>
    <message id="ILA">
        <source>Israeli agora</source>
        <translation>Израильская агора</translation>
    </message>
    <message id="LocationTrackingPurpose">
        <source>Numiva uses your location to choose the base currency of your country.</source>
        <translation>Numiva определяет ваше местоположение, чтобы выбрать валюту вашей страны базовой.</translation>
    </message>
    <message id="ReleaseToRefresh">
        <source>Release to refresh…</source>
        <translation>Отпустите, чтобы обновить…</translation>
    </message>
    <message id="PullDownToRefresh">
        <source>Pull down to refresh…</source>
        <translation>Потяните вниз, чтобы обновить…</translation>
    </message>
    <message id="Loading">
        <source>Loading…</source>
        <translation>Загрузка…</translation>
    </message>
    <message id="UpToDate">
        <source>Up to date</source>
        <translation>Данные актуальны</translation>
    </message>
    <message id="NeverUpdated">
        <source>Never updated</source>
        <translation>Ещё не обновлялось</translation>
    </message>
    <message id="LastUpdated">
        <source>Last updated: %1</source>
        <translation>Обновлено: %1</translation>
    </message>
    <message id="Conversion">
        <source>Conversion</source>
        <translation>Конвертация</translation>
    </message>
    <message id="CurrencyInfoViewTitle">
        <source>Exchange rates</source>
        <translation>Курсы валют</translation>
    </message>
    <message id="AddNewCurrency">
        <source>Add currencies</source>
        <translation>Добавить валюты</translation>
    </message>
    <message id="BaseCurrency">
        <source>Base currency</source>
        <translation>Базовая валюта</translation>
    </message>
    <message id="Direct">
        <source>Direct</source>
        <translation>Прямой</translation>
    </message>
    <message id="Inverse">
        <source>Inverse</source>
        <translation>Обратный</translation>
    </message>
    <message id="Back">
        <source>Back</source>
        <translation>Назад</translation>
    </message>
    <message id="Edit">
        <source>Edit</source>
        <translation>Изменить</translation>
    </message>
    <message id="Done">
        <source>Done</source>
        <translation>Готово</translation>
    </message>
    <message id="Cancel">
        <source>Cancel</source>
        <translation>Отменить</translation>
    </message>
    <message id="Settings">
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message id="Converter">
        <source>Converter</source>
        <translation>Конвертер</translation>
    </message>
    <message id="CurrencyUnavailable">
        <source>This currency is not offered by the selected data sources</source>
        <translation>Выбранные источники данных не предлагают эту валюту</translation>
    </message>
    <message id="ChartDataUnavailableForDatasource">
        <source>Charts are not available for this data source</source>
        <translation>Для этого источника данных графики недоступны</translation>
    </message>
    <message id="SelectCurrencies">
        <source>Select currencies</source>
        <translation>Выберите валюты</translation>
    </message>
    <message id="SelectCurrency">
        <source>Select currency</source>
        <translation>Выберите валюту</translation>
    </message>
    <message id="CurrenciesAvailableInDatasource">
        <source>Currencies available: %1</source>
        <translation>Доступно валют: %1</translation>
    </message>
    <message id="CurrencyNotSelected">
        <source>No currency is selected</source>
        <translation>Не выбрано ни одной валюты</translation>
    </message>
    <message id="Search">
        <source>Search</source>
        <translation>Поиск</translation>
    </message>
    <message id="Copy">
        <source>Copy</source>
        <translation>Скопировать</translation>
    </message>
    <message id="Delete">
        <source>Delete</source>
        <translation>Удалить</translation>
    </message>
    <message id="NoSearchResults">
        <source>No currencies found</source>
        <translation>Валюты не найдены</translation>
    </message>
    <message id="TutorialPullToRefresh">
        <source>Pull the list down to refresh the rates</source>
        <translation>Потяните список вниз, чтобы обновить курсы</translation>
    </message>
    <message id="TutorialTapToConvert">
        <source>Tap a currency to convert an amount</source>
        <translation>Коснитесь валюты, чтобы пересчитать сумму</translation>
    </message>
    <message id="TutorialEditList">
        <source>Add, remove and reorder currencies</source>
        <translation>Добавляйте, удаляйте и переставляйте валюты</translation>
    </message>
    <message id="TutorialSettings">
        <source>Choose the base currency and data sources</source>
        <translation>Выберите базовую валюту и источники данных</translation>
    </message>
    <message id="TutorialTapToClose">
        <source>Tap anywhere to start</source>
        <translation>Коснитесь экрана, чтобы начать</translation>
    </message>
    <message id="InvalidDataFormat">
        <source>The data source answered in a format Numiva cannot read.</source>
        <translation>Источник данных ответил в формате, который Numiva не может прочитать.</translation>
    </message>
    <message id="NoChartData">
        <source>There is no chart data for this pair and period.</source>
        <translation>Нет данных графика для этой пары и периода.</translation>
    </message>
    <message id="UnknownPaypalError">
        <source>PayPal could not convert the currencies.</source>
        <translation>PayPal не смог пересчитать валюты.</translation>
    </message>
    <message id="CBR-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies and metals · charts</source>
        <translation>Без регистрации · %1 валют и металлов · графики</translation>
    </message>
    <message id="YFinance-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies and metals · charts · Yahoo retired this service in 2017</source>
        <translation>Без регистрации · %1 валют и металлов · графики · Yahoo закрыл эту службу в 2017 году</translation>
    </message>
    <message id="ECB-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies · charts</source>
        <translation>Без регистрации · %1 валют · графики</translation>
    </message>
    <message id="Bloomberg-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies · charts</source>
        <translation>Без регистрации · %1 валют · графики</translation>
    </message>
    <message id="PayPal-CurrencyDataSourceDescription">
        <source>Needs a PayPal API account · %1 currencies · no charts</source>
        <translation>Нужна учётная запись PayPal API · %1 валют · без графиков</translation>
    </message>
    <message id="OCBC-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies · no charts</source>
        <translation>Без регистрации · %1 валют · без графиков</translation>
    </message>
    <message id="BankUa-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies and metals · no charts</source>
        <translation>Без регистрации · %1 валют и металлов · без графиков</translation>
    </message>
    <message id="SettingsSaveFailedMessage">
        <source>The settings could not be saved to %1: %2. The previous settings are kept.</source>
        <translation>Не удалось сохранить настройки в %1: %2. Прежние настройки не изменились.</translation>
    </message>
    <message id="StoreUnavailableMessage">
        <source>%1 cannot be used now (%2). It is left as it is.</source>
        <translation>%1 сейчас недоступен (%2). Файл оставлен как есть.</translation>
    </message>
    <message id="StoreDamagedMessage">
        <source>%1 was damaged and could not be read. It is kept as %2; a new one was started.</source>
        <translation>%1 повреждён и не читается. Он сохранён как %2, создан новый.</translation>
    </message>
    <message id="StoreNewerVersionMessage">
        <source>%1 was saved by a newer version of Numiva. It is left as it is and only read.</source>
        <translation>%1 сохранён более новой версией Numiva. Файл оставлен как есть и только читается.</translation>
    </message>
    <message id="StoreSaveFailedMessage">
        <source>Changes could not be saved to %1: %2</source>
        <translation>Не удалось сохранить изменения в %1: %2</translation>
    </message>
    <message id="FileWriteFailedMessage">
        <source>%1 could not be written: %2</source>
        <translation>Не удалось записать %1: %2</translation>
    </message>
    <message id="Frankfurter-CurrencyDataSource">
        <source>Frankfurter (central banks)</source>
        <translation>Frankfurter (центробанки)</translation>
    </message>
    <message id="CurrencyApi-CurrencyDataSource">
        <source>Exchange API (daily files)</source>
        <translation>Exchange API (ежедневные файлы)</translation>
    </message>
    <message id="Frankfurter-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies · charts from 1999</source>
        <translation>Без регистрации · %1 валют · графики с 1999 года</translation>
    </message>
    <message id="CurrencyApi-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies and metals · no charts</source>
        <translation>Без регистрации · %1 валют и металлов · без графиков</translation>
    </message>
    <message id="FrankfurterInvalidAnswer">
        <source>Frankfurter sent an answer that could not be read.</source>
        <translation>Не удалось прочитать ответ Frankfurter.</translation>
    </message>
    <message id="CurrencyApiInvalidAnswer">
        <source>The exchange rate file could not be read.</source>
        <translation>Не удалось прочитать файл курсов.</translation>
    </message>
    <message id="CurrencyDataSource">
        <source>Data source</source>
        <translation>Источник данных</translation>
    </message>
    <message id="BaseCurrencyAutoSelect">
        <source>Base currency of my location</source>
        <translation>Валюта по местоположению</translation>
    </message>
    <message id="CurrenciesAvailable">
        <source>Currencies available: %1</source>
        <translation>Доступно валют: %1</translation>
    </message>
    <message id="AddSource">
        <source>Add source</source>
        <translation>Добавить источник</translation>
    </message>
    <message id="ConversionFee">
        <source>Conversion fee</source>
        <translation>Комиссия за обмен</translation>
    </message>
    <message id="SubtractFee">
        <source>Subtract fee</source>
        <translation>Вычитать комиссию</translation>
    </message>
    <message id="ConversionFeeFooter">
        <source>The fee is a markup in percent on the provider's mid-market rate; with “Subtract fee” it is a discount instead.</source>
        <translation>Комиссия — надбавка в процентах к среднему курсу поставщика; с «Вычитать комиссию» — скидка.</translation>
    </message>
    <message id="RequestCurrency">
        <source>Request a currency</source>
        <translation>Запросить валюту</translation>
    </message>
    <message id="Info">
        <source>Info</source>
        <translation>Информация</translation>
    </message>
    <message id="BaseCurrencyUnavailable">
        <source>The base currency is not offered by this source. Choose another base currency?</source>
        <translation>Этот источник не предлагает базовую валюту. Выбрать другую?</translation>
    </message>
    <message id="Yes">
        <source>Yes</source>
        <translation>Да</translation>
    </message>
    <message id="No">
        <source>No</source>
        <translation>Нет</translation>
    </message>
    <message id="InvalidPercentValue">
        <source>Enter a percentage from 0 to 100</source>
        <translation>Введите процент от 0 до 100</translation>
    </message>
    <message id="DataSourceAlreadyExists">
        <source>This source has been added already</source>
        <translation>Этот источник уже добавлен</translation>
    </message>
    <message id="CannotSendEmail">
        <source>Mail cannot be sent: no mail program is set up</source>
        <translation>Нельзя отправить письмо: почтовая программа не настроена</translation>
    </message>
    <message id="CannotSendSms">
        <source>Text messages cannot be sent: no messaging program is set up</source>
        <translation>Нельзя отправить SMS: программа сообщений не настроена</translation>
    </message>
    <message id="SupportEmailAddress">
        <source>support@numiva.app</source>
        <translation>support@numiva.app</translation>
    </message>
    <message id="InvalidCurrencyCode">
        <source>This is not an ISO 4217 currency code</source>
        <translation>Это не код валюты ISO 4217</translation>
    </message>
    <message id="CurrencyContainedInDataSource">
        <source>This currency is offered already by: %1</source>
        <translation>Эта валюта уже есть в источниках: %1</translation>
    </message>
    <message id="NoRequestedCurrency">
        <source>Enter at least one currency code</source>
        <translation>Введите хотя бы один код валюты</translation>
    </message>
    <message id="EnterRequestedCurrencyCode">
        <source>Currency code (ISO 4217)</source>
        <translation>Код валюты (ISO 4217)</translation>
    </message>
    <message id="Submit">
        <source>Submit</source>
        <translation>Отправить</translation>
    </message>
    <message id="EnterDataSourceAddress">
        <source>Feed address</source>
        <translation>Адрес источника</translation>
    </message>
    <message id="SampleDataSourceTipN">
        <source>A source is an XML rate feed in Numiva's format, served over http or https. A sample: %1</source>
        <translation>Источник — XML-лента курсов в формате Numiva по http или https. Пример: %1</translation>
    </message>
    <message id="PasteSampleAddress">
        <source>Use the sample address</source>
        <translation>Вставить адрес примера</translation>
    </message>
    <message id="InvalidUrl">
        <source>Enter a full http or https address</source>
        <translation>Введите полный адрес http или https</translation>
    </message>
    <message id="MailProgramMissing">
        <source>The mail program could not be started</source>
        <translation>Не удалось запустить почтовую программу</translation>
    </message>
    <message id="MailProgramFailed">
        <source>The mail program could not open the message</source>
        <translation>Почтовая программа не смогла открыть письмо</translation>
    </message>
    <message id="AttachmentNotSaved">
        <source>The attachment could not be saved</source>
        <translation>Не удалось сохранить вложение</translation>
    </message>
    <message id="AttachmentSavedAt">
        <source>Attached file, in case your mail program left it out: %1</source>
        <translation>Вложенный файл, если почтовая программа его не приложила: %1</translation>
    </message>
    <message id="MessageProgramFailed">
        <source>The messaging program could not open the message</source>
        <translation>Программа сообщений не смогла открыть сообщение</translation>
    </message>
    <message id="RequestCurrencyHint">
        <source>Type the code of a currency that no source offers and press Return. Submit mails the list to support.</source>
        <translation>Введите код валюты, которой нет ни в одном источнике, и нажмите Ввод. «Отправить» пошлёт список в поддержку.</translation>
    </message>
    <message id="AnswerWithoutDollar">
        <source>The answer held no usable rate for the US dollar, which every rate is converted through.</source>
        <translation>В ответе нет пригодного курса доллара США, через который пересчитываются все курсы.</translation>
    </message>
    <message id="AnswerWithoutRates">
        <source>The answer held no usable rates.</source>
        <translation>В ответе нет пригодных курсов.</translation>
    </message>
    <message id="Close">
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message id="Email">
        <source>Email</source>
        <translation>Эл. почта</translation>
    </message>
    <message id="Print">
        <source>Print</source>
        <translation>Печать</translation>
    </message>
    <message id="OpenIn">
        <source>Open in…</source>
        <translation>Открыть в…</translation>
    </message>
    <message id="ShareChartData">
        <source>Share chart data</source>
        <translation>Поделиться данными графика</translation>
    </message>
    <message id="LoadingChartData">
        <source>Loading chart data…</source>
        <translation>Загрузка данных графика…</translation>
    </message>
    <message id="NoChartDataForCurrencyPair">
        <source>No chart data for this currency pair</source>
        <translation>Нет данных графика для этой пары валют</translation>
    </message>
    <message id="CurrencyAPerBPeriodN">
        <source>%1/%2, %3</source>
        <translation>%1/%2, %3</translation>
    </message>
    <message id="LatestDateAValueB">
        <source>Latest: %2 (%1)</source>
        <translation>Последний: %2 (%1)</translation>
    </message>
    <message id="HighestDateAValueB">
        <source>Highest: %2 (%1)</source>
        <translation>Максимум: %2 (%1)</translation>
    </message>
    <message id="LowestDateAValueB">
        <source>Lowest: %2 (%1)</source>
        <translation>Минимум: %2 (%1)</translation>
    </message>
    <message id="CurrencyPair">
        <source>Currency pair</source>
        <translation>Пара валют</translation>
    </message>
    <message id="SelectCurrencyPairPrompt">
        <source>Select two currencies</source>
        <translation>Выберите две валюты</translation>
    </message>
    <message id="NoProgramOpensFileA">
        <source>No program opens this file. It is saved as %1</source>
        <translation>Нет программы для этого файла. Он сохранён как %1</translation>
    </message>
    <message id="DataDirectoryUnknownMessage">
        <source>Nothing can be saved: no data folder is known (set HOME or NUMIVA_DATA_DIR).%1</source>
        <translation>Ничего не сохранится: папка данных не известна (задайте HOME или NUMIVA_DATA_DIR).%1</translation>
    </message>
    <message id="DataDirectoryIsFileMessage">
        <source>Nothing can be saved: %1 is a file, not a folder.</source>
        <translation>Ничего не сохранится: %1 — это файл, а не папка.</translation>
    </message>
    <message id="DataDirectoryCannotBeCreatedMessage">
        <source>Nothing can be saved: the folder %1 cannot be created.</source>
        <translation>Ничего не сохранится: папку %1 нельзя создать.</translation>
    </message>
    <message id="DataDirectoryReadOnlyMessage">
        <source>Nothing can be saved: the folder %1 is read-only.</source>
        <translation>Ничего не сохранится: папка %1 доступна только для чтения.</translation>
    </message>
    <message id="FailureHostNotFound">
        <source>The server %1 cannot be found</source>
        <translation>Сервер %1 не найден</translation>
    </message>
    <message id="FailureCannotConnect">
        <source>Cannot connect to %1</source>
        <translation>Нет соединения с %1</translation>
    </message>
    <message id="FailureSecureConnection">
        <source>The secure connection to %1 failed</source>
        <translation>Не удалось установить защищённое соединение с %1</translation>
    </message>
    <message id="FailureTimedOut">
        <source>%1 did not answer in time</source>
        <translation>%1 не ответил вовремя</translation>
    </message>
    <message id="FailureStatus">
        <source>The service answered %1 (%2)</source>
        <translation>Сервис ответил %1 (%2)</translation>
    </message>
    <message id="FailureNotUnderstood">
        <source>The answer was not understood</source>
        <translation>Ответ не удалось разобрать</translation>
    </message>
    <message id="SourceFailedMessage">
        <source>%1 could not be updated. %2. The last stored rates are shown.</source>
        <translation>Не удалось обновить %1. %2. Показаны последние сохранённые курсы.</translation>
    </message>
    <message id="FailureConnectionClosed">
        <source>%1 closed the connection</source>
        <translation>%1 закрыл соединение</translation>
    </message>
    <message id="CanceledByUser">
        <source>Cancelled by the user</source>
        <translation>Отменено пользователем</translation>
    </message>
    <message id="CannotOpenBrowser">
        <source>No web browser could be opened</source>
        <translation>Не удалось открыть веб-браузер</translation>
    </message>
    <message id="FacebookNotConfigured">
        <source>Posting to Facebook is not set up in this build</source>
        <translation>Публикация в Facebook не настроена в этой сборке</translation>
    </message>
    <message id="FacebookSignInFailed">
        <source>Signing in to Facebook failed</source>
        <translation>Не удалось войти в Facebook</translation>
    </message>
    <message id="AboutUs">
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message id="RateThisApp">
        <source>Rate Numiva</source>
        <translation>Оценить Numiva</translation>
    </message>
    <message id="Support">
        <source>Support</source>
        <translation>Поддержка</translation>
    </message>
    <message id="AllProducts">
        <source>All our products</source>
        <translation>Все наши программы</translation>
    </message>
    <message id="ShareFacebook">
        <source>Share on Facebook</source>
        <translation>Рассказать в Facebook</translation>
    </message>
    <message id="TweetAbout">
        <source>Tweet about Numiva</source>
        <translation>Написать в Twitter</translation>
    </message>
    <message id="InviteByMail">
        <source>Invite by mail</source>
        <translation>Пригласить письмом</translation>
    </message>
    <message id="InviteBySms">
        <source>Invite by text message</source>
        <translation>Пригласить по SMS</translation>
    </message>
    <message id="FollowFacebook">
        <source>Numiva on Facebook</source>
        <translation>Numiva в Facebook</translation>
    </message>
    <message id="FollowTwitter">
        <source>Numiva on Twitter</source>
        <translation>Numiva в Twitter</translation>
    </message>
    <message id="InviteFriends">
        <source>Invite friends</source>
        <translation>Пригласить друзей</translation>
    </message>
    <message id="SocialNetworks">
        <source>Social networks</source>
        <translation>Социальные сети</translation>
    </message>
    <message id="AboutProgram">
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message id="AboutDescription">
        <source>Exchange rates from many sources, a converter and rate charts.</source>
        <translation>Курсы валют из многих источников, конвертер и графики курсов.</translation>
    </message>
    <message id="VersionFormat">
        <source>Version %1</source>
        <translation>Версия %1</translation>
    </message>
    <message id="InviteMailSubject">
        <source>Have a look at Numiva</source>
        <translation>Посмотри на Numiva</translation>
    </message>
    <message id="InviteTextCopied">
        <source>The invitation is copied: paste it into any messenger.</source>
        <translation>Приглашение скопировано: вставьте его в любой мессенджер.</translation>
    </message>
    <message id="CannotOpenAddress">
        <source>This address cannot be opened: no browser is set up</source>
        <translation>Не удалось открыть адрес: браузер не настроен</translation>
    </message>
    <message id="MessagePostSuccess">
        <source>The message is posted</source>
        <translation>Сообщение опубликовано</translation>
    </message>
    <message id="CannotPostMessage">
        <source>The message cannot be posted: %1</source>
        <translation>Не удалось опубликовать сообщение: %1</translation>
    </message>
    <message id="RatingPromptTitle">
        <source>Rate Numiva</source>
        <translation>Оцените Numiva</translation>
    </message>
    <message id="RatingPromptMessage">
        <source>If you like Numiva, would you take a moment to rate it? Thank you for your support!</source>
        <translation>Если вам нравится Numiva, найдите минутку, чтобы оценить её. Спасибо за поддержку!</translation>
    </message>
    <message id="RatingPromptRate">
        <source>Rate Numiva</source>
        <translation>Оценить Numiva</translation>
    </message>
    <message id="RatingPromptLater">
        <source>Remind me later</source>
        <translation>Напомнить позже</translation>
    </message>
    <message id="RatingPromptNever">
        <source>No, thanks</source>
        <translation>Нет, спасибо</translation>
    </message>
    <message id="CopyValue">
        <source>Copy value</source>
        <translation>Копировать курс</translation>
    </message>
    <message id="CopyRow">
        <source>Copy row</source>
        <translation>Копировать строку</translation>
    </message>
    <message id="ShowChart">
        <source>Chart</source>
        <translation>График</translation>
    </message>
    <message id="RemoveCurrency">
        <source>Remove</source>
        <translation>Удалить</translation>
    </message>
    <message id="ClearSearch">
        <source>Clear search</source>
        <translation>Очистить поиск</translation>
    </message>
    <message id="DeleteLastDigit">
        <source>Delete last digit</source>
        <translation>Стереть цифру</translation>
    </message>
    <message id="ClearAmount">
        <source>Clear amount</source>
        <translation>Сбросить сумму</translation>
    </message>
    <message id="DecimalSeparatorKey">
        <source>Decimal separator</source>
        <translation>Десятичный разделитель</translation>
    </message>
    <message id="RateList">
        <source>Currency rates</source>
        <translation>Курсы валют</translation>
    </message>
    <message id="AccessibleRateRowABC">
        <source>%1, %2 %3</source>
        <translation>%1, %2 %3</translation>
    </message>
    <message id="ChartButton">
        <source>Chart</source>
        <translation>График</translation>
    </message>
    <message id="ChartSourceFailedMessage">
        <source>%1 could not be updated. %2. The last stored chart is shown.</source>
        <translation>Не удалось обновить %1. %2. Показан последний сохранённый график.</translation>
    </message>
    <message id="SourceFailedOthersFreshMessage">
        <source>%1 could not be updated. %2. Its last stored rates are shown beside the fresh rates of the other sources.</source>
        <translation>Не удалось обновить %1. %2. Для него показаны последние сохранённые курсы, для остальных источников — свежие.</translation>
    </message>
    <message id="SourcesFailedOthersFreshMessage">
        <source>%1 could not be updated. %2. Their last stored rates are shown beside the fresh rates of the other sources.</source>
        <translation>Не удалось обновить %1. %2. Для них показаны последние сохранённые курсы, для остальных источников — свежие.</translation>
    </message>
    <message id="FurtherSources">
        <source>Further sources</source>
        <translation>Дополнительные источники</translation>
    </message>
    <message id="FurtherSourcesFooter">
        <source>A currency the active source lacks is taken from the first further source that offers it.</source>
        <translation>Валюту, которой нет у основного источника, берут из первого дополнительного, где она есть.</translation>
    </message>
    <message id="AddFurtherSource">
        <source>Add further source</source>
        <translation>Добавить источник</translation>
    </message>
    <message id="MoveUp">
        <source>Move up</source>
        <translation>Выше</translation>
    </message>
    <message id="MoveDown">
        <source>Move down</source>
        <translation>Ниже</translation>
    </message>
    <message id="RemoveFurtherSource">
        <source>Remove</source>
        <translation>Убрать</translation>
    </message>
    <message id="CurrencyFromSource">
        <source>from %1</source>
        <translation>источник: %1</translation>
    </message>
    <message id="ConversionDateInvalid">
        <source>Not a date.</source>
        <translation>Это не дата.</translation>
    </message>
    <message id="ConversionDateInFuture">
        <source>%1 is in the future: rates exist up to today.</source>
        <translation>%1 ещё не наступило: курсы есть только до сегодняшнего дня.</translation>
    </message>
    <message id="ConversionDateBeforeHistory">
        <source>%1 is before the rate history, which starts on %2.</source>
        <translation>%1 раньше начала истории курсов (%2).</translation>
    </message>
    <message id="ConversionDateNoRates">
        <source>No rates were published on or before %1.</source>
        <translation>Нет курсов на %1 или раньше.</translation>
    </message>
    <message id="PastRatesFailedMessage">
        <source>%1 could not give the rates of that day. %2.</source>
        <translation>%1: не удалось получить курсы на эту дату. %2.</translation>
    </message>
    <message id="ConversionDateEarlier">
        <source>No rates were published on %1: those of %2 are used.</source>
        <translation>На %1 курсы не публиковались: взяты курсы на %2.</translation>
    </message>
    <message id="TodaysRates">
        <source>Today's rates</source>
        <translation>Курсы на сегодня</translation>
    </message>
    <message id="RatesOfDay">
        <source>Rates of %1</source>
        <translation>Курсы на %1</translation>
    </message>
    <message id="ChooseConversionDay">
        <source>Choose the day of the rates</source>
        <translation>Выберите дату курсов</translation>
    </message>
    <message id="PreviousMonth">
        <source>Previous month</source>
        <translation>Предыдущий месяц</translation>
    </message>
    <message id="NextMonth">
        <source>Next month</source>
        <translation>Следующий месяц</translation>
    </message>
    <message id="PreviousYear">
        <source>Previous year</source>
        <translation>Предыдущий год</translation>
    </message>
    <message id="NextYear">
        <source>Next year</source>
        <translation>Следующий год</translation>
    </message>
    <message id="CompareSources">
        <source>Compare sources</source>
        <translation>Сравнить источники</translation>
    </message>
    <message id="CompareAgain">
        <source>Ask again</source>
        <translation>Обновить</translation>
    </message>
    <message id="CompareHeadingAB">
        <source>1 %1 in %2</source>
        <translation>1 %1 в %2</translation>
    </message>
    <message id="CompareProgressAB">
        <source>%1 of %2 sources answered</source>
        <translation>Ответили %1 из %2 источников</translation>
    </message>
    <message id="CompareMedian">
        <source>Median</source>
        <translation>Медиана</translation>
    </message>
    <message id="CompareSpread">
        <source>Spread</source>
        <translation>Разброс</translation>
    </message>
    <message id="CompareNoOutliersA">
        <source>No source is more than %1 from the median.</source>
        <translation>Ни один источник не отличается от медианы больше чем на %1.</translation>
    </message>
    <message id="CompareOutliersAB">
        <source>More than %1 from the median: %2.</source>
        <translation>Отличаются от медианы больше чем на %1: %2.</translation>
    </message>
    <message id="CompareNoneAnswered">
        <source>No source answered.</source>
        <translation>Ни один источник не ответил.</translation>
    </message>
    <message id="CompareNoSources">
        <source>No built-in source quotes this currency against the base currency.</source>
        <translation>Ни один встроенный источник не даёт курс этой валюты к базовой.</translation>
    </message>
    <message id="CompareNotInAnswer">
        <source>The answer has no rate for %1.</source>
        <translation>В ответе нет курса %1.</translation>
    </message>
    <message id="CompareNoAnswer">
        <source>The source did not answer.</source>
        <translation>Источник не ответил.</translation>
    </message>
    <message id="RateCachedSourceFailed">
        <source>cached, %1 failed</source>
        <translation>из кэша, сбой %1</translation>
    </message>
    <message id="RateStale">
        <source>stale</source>
        <translation>устарел</translation>
    </message>
    <message id="AccessibleRateStale">
        <source>The rate is stale</source>
        <translation>Курс устарел</translation>
    </message>
    <message id="CBR-CurrencyDataSourceShort">
        <source>CBR</source>
        <translation>ЦБ РФ</translation>
    </message>
    <message id="YFinance-CurrencyDataSourceShort">
        <source>Yahoo</source>
        <translation>Yahoo</translation>
    </message>
    <message id="ECB-CurrencyDataSourceShort">
        <source>ECB</source>
        <translation>ЕЦБ</translation>
    </message>
    <message id="Bloomberg-CurrencyDataSourceShort">
        <source>Bloomberg</source>
        <translation>Bloomberg</translation>
    </message>
    <message id="PayPal-CurrencyDataSourceShort">
        <source>PayPal</source>
        <translation>PayPal</translation>
    </message>
    <message id="OCBC-CurrencyDataSourceShort">
        <source>OCBC</source>
        <translation>OCBC</translation>
    </message>
    <message id="BankUa-CurrencyDataSourceShort">
        <source>BankUa</source>
        <translation>BankUa</translation>
    </message>
    <message id="Frankfurter-CurrencyDataSourceShort">
        <source>Frankfurter</source>
        <translation>Frankfurter</translation>
    </message>
    <message id="CurrencyApi-CurrencyDataSourceShort">
        <source>Exchange API</source>
        <translation>Exchange API</translation>
    </message>
</context>
</TS>
