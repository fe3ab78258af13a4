<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>ControlPanel</name>
    <message>
        <source>Control Panel</source>
        <translation>Painel de controle</translation>
    </message>
    <message>
        <source>Lock</source>
        <translation>Travar</translation>
    </message>
    <message>
        <source>Locks or unlocks the meter&apos;s keypad</source>
        <translation>Trava ou destrava o teclado do medidor</translation>
    </message>
    <message>
        <source>Meter display</source>
        <translation>Visor do medidor</translation>
    </message>
    <message>
        <source>A replica of the meter&apos;s display, mirrored from every poll</source>
        <translation>Uma réplica do visor do medidor, atualizada a cada consulta</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Value</source>
        <translation>Valor</translation>
    </message>
    <message>
        <source>Maximum and minimum start again from the level shown</source>
        <translation>Máximo e mínimo recomeçam a partir do nível mostrado</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>Máximo</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Mínimo</translation>
    </message>
    <message>
        <source>Response</source>
        <translation>Ponderação temporal</translation>
    </message>
    <message>
        <source>Exchange rate</source>
        <translation>Taxa de troca</translation>
    </message>
    <message>
        <source>Criterion level</source>
        <translation>Nível de critério</translation>
    </message>
    <message>
        <source>Threshold level</source>
        <translation>Nível limiar</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Faixa</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>Nome do arquivo</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Gravando</translation>
    </message>
    <message>
        <source>PC Sampling time</source>
        <translation>Tempo de amostragem do PC</translation>
    </message>
    <message>
        <source>PC Sampling Time</source>
        <translation>Tempo de Amostragem do PC</translation>
    </message>
    <message>
        <source>Last Time</source>
        <translation>Última hora</translation>
    </message>
    <message>
        <source>Memory</source>
        <translation>Memória</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>Média</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>Gráfico</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Evento</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Lista</translation>
    </message>
    <message>
        <source>Read address</source>
        <translation>Endereço de leitura</translation>
    </message>
    <message>
        <source>Register to read, 0 to 65535; Enter reads it</source>
        <translation>Registrador a ler, 0 a 65535; Enter o lê</translation>
    </message>
    <message>
        <source>Read data</source>
        <translation>Dado lido</translation>
    </message>
    <message>
        <source>The value of the register read</source>
        <translation>O valor do registrador lido</translation>
    </message>
    <message>
        <source>Write address</source>
        <translation>Endereço de escrita</translation>
    </message>
    <message>
        <source>Register to write, 0 to 65535</source>
        <translation>Registrador a escrever, 0 a 65535</translation>
    </message>
    <message>
        <source>Write data</source>
        <translation>Dado a escrever</translation>
    </message>
    <message>
        <source>Value to write, 0 to 255; Enter writes it</source>
        <translation>Valor a escrever, 0 a 255; Enter o escreve</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Ler</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Escrever</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ender.</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Dado</translation>
    </message>
    <message>
        <source>Registers</source>
        <translation>Registradores</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Arquivo</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Start Recording</source>
        <translation>Iniciar gravação</translation>
    </message>
    <message>
        <source>Stop Recording</source>
        <translation>Parar gravação</translation>
    </message>
    <message>
        <source>View File</source>
        <translation>Ver arquivo</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>&amp;Display</source>
        <translation>&amp;Exibir</translation>
    </message>
    <message>
        <source>Analog</source>
        <translation>Analógico</translation>
    </message>
    <message>
        <source>Digital</source>
        <translation>Digital</translation>
    </message>
    <message>
        <source>Control Panel</source>
        <translation>Painel de controle</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>Eventos</translation>
    </message>
    <message>
        <source>&amp;Option</source>
        <translation>&amp;Opções</translation>
    </message>
    <message>
        <source>TWA</source>
        <translation>TWA</translation>
    </message>
    <message>
        <source>Occupational Noise Exposure Standard</source>
        <translation>Norma de exposição ocupacional ao ruído</translation>
    </message>
    <message>
        <source>Set Mode</source>
        <translation>Configurar medidor</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Aj&amp;uda</translation>
    </message>
    <message>
        <source>User Guide</source>
        <translation>Guia do usuário</translation>
    </message>
    <message>
        <source>About Dose Meter</source>
        <translation>Sobre o Dose Meter</translation>
    </message>
    <message>
        <source>Dose Meter %1

The desktop program of a personal noise dosimeter.

Licence: GNU General Public License, version 3 or later.

Qt %2 (built with %3)
QCustomPlot %4</source>
        <translation>Dose Meter %1

O programa de computador de um dosímetro de ruído pessoal.

Licença: GNU General Public License, versão 3 ou posterior.

Qt %2 (compilado com %3)
QCustomPlot %4</translation>
    </message>
    <message>
        <source>The user guide is not installed (looked in %1).</source>
        <translation>O guia do usuário não está instalado (procurado em %1).</translation>
    </message>
    <message>
        <source>Dose Meter User Guide</source>
        <translation>Guia do usuário do Dose Meter</translation>
    </message>
    <message>
        <source>&amp;Library</source>
        <translation>&amp;Biblioteca</translation>
    </message>
    <message>
        <source>Connect...</source>
        <translation>Conectar...</translation>
    </message>
    <message>
        <source>Import files...</source>
        <translation>Importar arquivos...</translation>
    </message>
    <message>
        <source>Measurements</source>
        <translation>Medições</translation>
    </message>
    <message>
        <source>Click to choose the recording file</source>
        <translation>Clique para escolher o arquivo de gravação</translation>
    </message>
    <message>
        <source>Change the sample period</source>
        <translation>Alterar o período de amostragem</translation>
    </message>
</context>
<context>
    <name>PortWindow</name>
    <message>
        <source>COM Port</source>
        <translation>Porta COM</translation>
    </message>
    <message>
        <source>COM1..COM8, Auto, Simulator, a detected port, or type a device path such as /dev/pts/3</source>
        <translation>COM1..COM8, Auto, Simulator, uma porta detectada, ou digite o caminho de um dispositivo como /dev/pts/3</translation>
    </message>
</context>
</TS>
