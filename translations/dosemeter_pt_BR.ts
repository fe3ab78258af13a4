<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>AnalogWindow</name>
    <message>
        <source>Analog</source>
        <translation>Analógico</translation>
    </message>
    <message>
        <source>Level gauge</source>
        <translation>Indicador de nível</translation>
    </message>
    <message>
        <source>The level in dBA on a scale from 68 to 140 dB</source>
        <translation>O nível em dBA numa escala de 68 a 140 dB</translation>
    </message>
</context>
<context>
    <name>AssessmentWindow</name>
    <message>
        <source>Use</source>
        <translation>Usar</translation>
    </message>
    <message>
        <source>Criterion level (dB)</source>
        <translation>Nível de critério (dB)</translation>
    </message>
    <message>
        <source>Exchange rate (dB)</source>
        <translation>Taxa de troca (dB)</translation>
    </message>
    <message>
        <source>Threshold (dB)</source>
        <translation>Limiar (dB)</translation>
    </message>
    <message>
        <source>Dose (%)</source>
        <translation>Dose (%)</translation>
    </message>
    <message>
        <source>TWA (dB)</source>
        <translation>TWA (dB)</translation>
    </message>
    <message>
        <source>Projected dose (%)</source>
        <translation>Dose projetada (%)</translation>
    </message>
    <message>
        <source>Projected TWA (dB)</source>
        <translation>TWA projetado (dB)</translation>
    </message>
    <message>
        <source>below the lower action value</source>
        <translation>abaixo do valor de ação inferior</translation>
    </message>
    <message>
        <source>lower action value</source>
        <translation>valor de ação inferior</translation>
    </message>
    <message>
        <source>upper action value</source>
        <translation>valor de ação superior</translation>
    </message>
    <message>
        <source>limit value exceeded</source>
        <translation>valor-limite excedido</translation>
    </message>
    <message>
        <source>Exposure Assessment</source>
        <translation>Avaliação de exposição</translation>
    </message>
    <message>
        <source>Assessment</source>
        <translation>Avaliação</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Copy the figures of this tab as text</source>
        <translation>Copia os valores desta aba como texto</translation>
    </message>
    <message>
        <source>Report...</source>
        <translation>Relatório...</translation>
    </message>
    <message>
        <source>The shift report of these figures, to print or to export as a PDF</source>
        <translation>O relatório do turno com estes valores, para imprimir ou exportar como PDF</translation>
    </message>
    <message>
        <source>Shift length</source>
        <translation>Duração do turno</translation>
    </message>
    <message>
        <source>The hours of the shift the measurement stands for</source>
        <translation>As horas do turno que a medição representa</translation>
    </message>
    <message>
        <source>Shift length (h)</source>
        <translation>Duração do turno (h)</translation>
    </message>
    <message>
        <source>EU status</source>
        <translation>Situação (UE)</translation>
    </message>
    <message>
        <source>Criterion sets</source>
        <translation>Conjuntos de critérios</translation>
    </message>
    <message>
        <source>Each criterion set as a column: check it to use it; the custom set&apos;s levels can be typed</source>
        <translation>Cada conjunto de critérios numa coluna: marque-o para usá-lo; os níveis do conjunto personalizado podem ser digitados</translation>
    </message>
    <message>
        <source>Excluded spans</source>
        <translation>Trechos excluídos</translation>
    </message>
    <message>
        <source>First record</source>
        <translation>Primeiro registro</translation>
    </message>
    <message>
        <source>The first record to exclude</source>
        <translation>O primeiro registro a excluir</translation>
    </message>
    <message>
        <source>Last record</source>
        <translation>Último registro</translation>
    </message>
    <message>
        <source>The last record to exclude</source>
        <translation>O último registro a excluir</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Motivo</translation>
    </message>
    <message>
        <source>Why the records are left out</source>
        <translation>Por que os registros ficam de fora</translation>
    </message>
    <message>
        <source>Reason, e.g. microphone knocked</source>
        <translation>Motivo, p. ex. microfone batido</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Excluir</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>Registros</translation>
    </message>
    <message>
        <source>to</source>
        <translation>a</translation>
    </message>
    <message>
        <source>From</source>
        <translation>De</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Até</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Arquivo</translation>
    </message>
    <message>
        <source>The file whose levels are shown</source>
        <translation>O arquivo cujos níveis são mostrados</translation>
    </message>
    <message>
        <source>The record spans left out, with the reason</source>
        <translation>Os trechos de registros deixados de fora, com o motivo</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remover</translation>
    </message>
    <message>
        <source>Count the selected spans again</source>
        <translation>Volta a contar os trechos selecionados</translation>
    </message>
    <message>
        <source>Drag over the levels, or type the records, then give a reason</source>
        <translation>Arraste sobre os níveis, ou digite os registros, e informe um motivo</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Personalizado</translation>
    </message>
    <message>
        <source>Levels</source>
        <translation>Níveis</translation>
    </message>
    <message>
        <source>The levels over the record number; drag over records to exclude them</source>
        <translation>Os níveis pelo número do registro; arraste sobre registros para excluí-los</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Registro</translation>
    </message>
    <message>
        <source>Strategy</source>
        <translation>Estratégia</translation>
    </message>
    <message>
        <source>How the day was sampled</source>
        <translation>Como a jornada foi amostrada</translation>
    </message>
    <message>
        <source>Job-based</source>
        <translation>Por função</translation>
    </message>
    <message>
        <source>Full-day</source>
        <translation>Jornada inteira</translation>
    </message>
    <message>
        <source>Task-based</source>
        <translation>Por tarefa</translation>
    </message>
    <message>
        <source>Instrument</source>
        <translation>Instrumento</translation>
    </message>
    <message>
        <source>What measured the samples</source>
        <translation>O que mediu as amostras</translation>
    </message>
    <message>
        <source>Personal sound exposure meter</source>
        <translation>Medidor pessoal de exposição sonora</translation>
    </message>
    <message>
        <source>Class 1 sound level meter</source>
        <translation>Medidor de nível sonoro classe 1</translation>
    </message>
    <message>
        <source>Class 2 sound level meter</source>
        <translation>Medidor de nível sonoro classe 2</translation>
    </message>
    <message>
        <source>Effective day</source>
        <translation>Jornada efetiva</translation>
    </message>
    <message>
        <source>Te: the hours of the working day</source>
        <translation>Te: as horas da jornada de trabalho</translation>
    </message>
    <message>
        <source>Effective day Te (h)</source>
        <translation>Jornada efetiva Te (h)</translation>
    </message>
    <message>
        <source>Level (dB)</source>
        <translation>Nível (dB)</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Origem</translation>
    </message>
    <message>
        <source>Samples</source>
        <translation>Amostras</translation>
    </message>
    <message>
        <source>The measured LAeq of each sample</source>
        <translation>O LAeq medido de cada amostra</translation>
    </message>
    <message>
        <source>Task</source>
        <translation>Tarefa</translation>
    </message>
    <message>
        <source>Duration (h)</source>
        <translation>Duração (h)</translation>
    </message>
    <message>
        <source>Samples (dB)</source>
        <translation>Amostras (dB)</translation>
    </message>
    <message>
        <source>Duration range (h)</source>
        <translation>Faixa de duração (h)</translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation>Tarefas</translation>
    </message>
    <message>
        <source>Each task&apos;s name, duration, samples (commas between) and the range its duration varies in, such as 3-4</source>
        <translation>O nome, a duração e as amostras (separadas por vírgulas) de cada tarefa, e a faixa em que sua duração varia, como 3-4</translation>
    </message>
    <message>
        <source>Add row</source>
        <translation>Adicionar linha</translation>
    </message>
    <message>
        <source>Add open file</source>
        <translation>Adicionar arquivo aberto</translation>
    </message>
    <message>
        <source>The LAeq,T of the records the assessment uses, as a sample</source>
        <translation>O LAeq,T dos registros que a avaliação usa, como uma amostra</translation>
    </message>
    <message>
        <source>Add file...</source>
        <translation>Adicionar arquivo...</translation>
    </message>
    <message>
        <source>The LAeq,T of another data file, as a sample</source>
        <translation>O LAeq,T de outro arquivo de dados, como uma amostra</translation>
    </message>
    <message>
        <source>LAeq (dB)</source>
        <translation>LAeq (dB)</translation>
    </message>
    <message>
        <source>Contribution (dB)</source>
        <translation>Contribuição (dB)</translation>
    </message>
    <message>
        <source>Task contributions</source>
        <translation>Contribuições das tarefas</translation>
    </message>
    <message>
        <source>Each task&apos;s level, and its contribution: that level over the task&apos;s duration, its share of LEX,8h</source>
        <translation>O nível de cada tarefa e sua contribuição: esse nível ao longo da duração da tarefa, sua parcela do LEX,8h</translation>
    </message>
    <message>
        <source>Custom: %1.</source>
        <translation>Personalizado: %1.</translation>
    </message>
    <message>
        <source>Sample %1: &apos;%2&apos; is no level in dB.</source>
        <translation>Amostra %1: &apos;%2&apos; não é um nível em dB.</translation>
    </message>
    <message>
        <source>Task %1 has no name.</source>
        <translation>A tarefa %1 não tem nome.</translation>
    </message>
    <message>
        <source>Task %1: its duration is a number of hours.</source>
        <translation>Tarefa %1: a duração é um número de horas.</translation>
    </message>
    <message>
        <source>Task %1: its samples are levels in dB with commas between.</source>
        <translation>Tarefa %1: as amostras são níveis em dB separados por vírgulas.</translation>
    </message>
    <message>
        <source>Task %1: its duration range is typed as 3-4 (hours).</source>
        <translation>Tarefa %1: a faixa de duração se digita como 3-4 (horas).</translation>
    </message>
    <message>
        <source>typed</source>
        <translation>digitado</translation>
    </message>
    <message>
        <source>Add a data file as a sample</source>
        <translation>Adicionar um arquivo de dados como amostra</translation>
    </message>
</context>
<context>
    <name>AverageDialogs</name>
    <message>
        <source>Input Interval</source>
        <translation>Intervalo</translation>
    </message>
    <message>
        <source>Enter interval<byte value="xd"/>
 (hh:nn:ss) </source>
        <translation>Informe o intervalo<byte value="xd"/>
 (hh:mm:ss) </translation>
    </message>
    <message>
        <source>Invalid, try again!<byte value="xd"/>
</source>
        <translation>Inválido, tente novamente!<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Salvar como</translation>
    </message>
    <message>
        <source>Avg type[*.avg] (*.avg)</source>
        <translation>Arquivos de médias [*.avg] (*.avg)</translation>
    </message>
    <message>
        <source>%1 could not be saved: %2.
An earlier file of that name is unchanged.</source>
        <translation>Não foi possível salvar %1: %2.
Um arquivo anterior com esse nome não foi alterado.</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
</context>
<context>
    <name>AverageWindow</name>
    <message>
        <source>Save</source>
        <translation>Salvar</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Salvar como</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Abrir arquivo</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Iniciar</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Iniciar a medição</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausar</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Parar</translation>
    </message>
    <message>
        <source>Interval</source>
        <translation>Intervalo</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>JOB</source>
        <translation>Função</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Start date</source>
        <translation>Data inicial</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Hora inicial</translation>
    </message>
    <message>
        <source>Time Int.</source>
        <translation>Intervalo</translation>
    </message>
    <message>
        <source>Criterion level</source>
        <translation>Nível de critério</translation>
    </message>
    <message>
        <source>Exchange Rate</source>
        <translation>Taxa de troca</translation>
    </message>
    <message>
        <source>Run Time</source>
        <translation>Duração</translation>
    </message>
    <message>
        <source>SPL Max</source>
        <translation>NPS máx.</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sim</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Não</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>Média</translation>
    </message>
    <message>
        <source>The run&apos;s equivalent continuous level: the energy average of the samples of its completed intervals</source>
        <translation>O nível equivalente contínuo da medição: a média energética das amostras de seus intervalos completos</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Meter set to</source>
        <translation>Medidor ajustado em</translation>
    </message>
    <message>
        <source>Measurement</source>
        <translation>Medição</translation>
    </message>
    <message>
        <source>Averages chart</source>
        <translation>Gráfico das médias</translation>
    </message>
    <message>
        <source>The average level of each interval in dBA against the record number</source>
        <translation>O nível médio de cada intervalo em dBA pelo número do registro</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Registro</translation>
    </message>
    <message>
        <source>Averages</source>
        <translation>Médias</translation>
    </message>
    <message>
        <source>One record per interval: number, date, time and average level in dBA</source>
        <translation>Um registro por intervalo: número, data, hora e nível médio em dBA</translation>
    </message>
    <message>
        <source>LAeq per interval</source>
        <translation>LAeq por intervalo</translation>
    </message>
    <message>
        <source>Adds each interval&apos;s energy average as a column; files keep the four columns</source>
        <translation>Acrescenta a média energética de cada intervalo como coluna; os arquivos mantêm as quatro colunas</translation>
    </message>
    <message>
        <source>Print Preview...</source>
        <translation>Visualizar impressão...</translation>
    </message>
    <message>
        <source>Save as PDF...</source>
        <translation>Salvar como PDF...</translation>
    </message>
    <message>
        <source>Keep in library</source>
        <translation>Manter na biblioteca</translation>
    </message>
    <message>
        <source>Also store what Save writes in the measurement library</source>
        <translation>Guarda também na biblioteca de medições o que Salvar grava</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Trabalhador</translation>
    </message>
    <message>
        <source>The job measured; saved and printed</source>
        <translation>A função medida; salva e impressa</translation>
    </message>
    <message>
        <source>Who was measured; saved and printed</source>
        <translation>Quem foi medido; salvo e impresso</translation>
    </message>
    <message>
        <source>An identification; saved and printed</source>
        <translation>Uma identificação; salva e impressa</translation>
    </message>
</context>
<context>
    <name>BankWindow</name>
    <message>
        <source>Event</source>
        <translation>Evento</translation>
    </message>
    <message>
        <source>Choose the banks to read from the meter</source>
        <translation>Escolha os bancos a ler do medidor</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Banks</source>
        <translation>Bancos</translation>
    </message>
    <message>
        <source>The dose event banks E1 to E5; click a bank&apos;s column to read that bank from the meter</source>
        <translation>Os bancos de eventos de dose E1 a E5; clique na coluna de um banco para lê-lo do medidor</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>The name saved and printed with the banks</source>
        <translation>O nome salvo e impresso com os bancos</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Endereço</translation>
    </message>
    <message>
        <source>The address saved and printed with the banks</source>
        <translation>O endereço salvo e impresso com os bancos</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>Empresa</translation>
    </message>
    <message>
        <source>The company saved and printed with the banks</source>
        <translation>A empresa salva e impressa com os bancos</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nome:</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>Endereço:</translation>
    </message>
    <message>
        <source>Company:</source>
        <translation>Empresa:</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Arquivo</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Salvar</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>A&amp;brir</translation>
    </message>
    <message>
        <source>&amp;Bank</source>
        <translation>&amp;Banco</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Imprimir</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimir...</translation>
    </message>
    <message>
        <source>Print Pre&amp;view...</source>
        <translation>&amp;Visualizar impressão...</translation>
    </message>
    <message>
        <source>Export &amp;PDF...</source>
        <translation>Exportar &amp;PDF...</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Salvar</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Salvar como</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Abrir arquivo</translation>
    </message>
    <message>
        <source>Bank</source>
        <translation>Banco</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>Keep in library</source>
        <translation>Manter na biblioteca</translation>
    </message>
    <message>
        <source>Also store what Save writes in the measurement library</source>
        <translation>Guarda também na biblioteca de medições o que Salvar grava</translation>
    </message>
    <message>
        <source>Bank type[*.bnk] (*.bnk)</source>
        <translation>Arquivos de bancos [*.bnk] (*.bnk)</translation>
    </message>
</context>
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
    <name>DigitalWindow</name>
    <message>
        <source>Digital</source>
        <translation>Digital</translation>
    </message>
</context>
<context>
    <name>FigureCards</name>
    <message>
        <source>Records</source>
        <translation>Registros</translation>
    </message>
    <message>
        <source>Skipped</source>
        <translation>Ignorados</translation>
    </message>
    <message>
        <source>Period (s)</source>
        <translation>Período (s)</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Duração</translation>
    </message>
    <message>
        <source>LAeq (dB)</source>
        <translation>LAeq (dB)</translation>
    </message>
    <message>
        <source>Mean (dB)</source>
        <translation>Média (dB)</translation>
    </message>
    <message>
        <source>Minimum (dB)</source>
        <translation>Mínimo (dB)</translation>
    </message>
    <message>
        <source>Maximum (dB)</source>
        <translation>Máximo (dB)</translation>
    </message>
    <message>
        <source>L10 (dB)</source>
        <translation>L10 (dB)</translation>
    </message>
    <message>
        <source>L50 (dB)</source>
        <translation>L50 (dB)</translation>
    </message>
    <message>
        <source>L90 (dB)</source>
        <translation>L90 (dB)</translation>
    </message>
    <message>
        <source>Dose (%)</source>
        <translation>Dose (%)</translation>
    </message>
    <message>
        <source>TWA (dB)</source>
        <translation>TWA (dB)</translation>
    </message>
    <message>
        <source>Excluded</source>
        <translation>Excluídos</translation>
    </message>
    <message>
        <source>Measured (T)</source>
        <translation>Medido (T)</translation>
    </message>
    <message>
        <source>LAeq,T (dB)</source>
        <translation>LAeq,T (dB)</translation>
    </message>
    <message>
        <source>LEX,8h (dB)</source>
        <translation>LEX,8h (dB)</translation>
    </message>
    <message>
        <source>At or above 80 dB</source>
        <translation>Em 80 dB ou acima</translation>
    </message>
    <message>
        <source>At or above 85 dB</source>
        <translation>Em 85 dB ou acima</translation>
    </message>
    <message>
        <source>At or above 90 dB</source>
        <translation>Em 90 dB ou acima</translation>
    </message>
    <message>
        <source>u (dB)</source>
        <translation>u (dB)</translation>
    </message>
    <message>
        <source>U (dB)</source>
        <translation>U (dB)</translation>
    </message>
    <message>
        <source>Upper value (dB)</source>
        <translation>Valor superior (dB)</translation>
    </message>
    <message>
        <source>LAeq,Te (dB)</source>
        <translation>LAeq,Te (dB)</translation>
    </message>
    <message>
        <source>u1 (dB)</source>
        <translation>u1 (dB)</translation>
    </message>
    <message>
        <source>c1u1 (dB)</source>
        <translation>c1u1 (dB)</translation>
    </message>
</context>
<context>
    <name>HistogramWindow</name>
    <message>
        <source>The saved file is closed: its records cannot be counted again.</source>
        <translation>O arquivo salvo está fechado: seus registros não podem ser contados de novo.</translation>
    </message>
    <message>
        <source>Histogram</source>
        <translation>Histograma</translation>
    </message>
    <message>
        <source>Limit</source>
        <translation>Limites</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Visualizar</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>How many records have each level</source>
        <translation>Quantos registros têm cada nível</translation>
    </message>
    <message>
        <source>Frequency (Times)</source>
        <translation>Frequência (vezes)</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Mín</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Máx</translation>
    </message>
    <message>
        <source>Lowest record</source>
        <translation>Registro inicial</translation>
    </message>
    <message>
        <source>Lowest record counted and shown</source>
        <translation>Registro inicial contado e mostrado</translation>
    </message>
    <message>
        <source>Highest record</source>
        <translation>Registro final</translation>
    </message>
    <message>
        <source>Highest record counted and shown</source>
        <translation>Registro final contado e mostrado</translation>
    </message>
    <message>
        <source>Lowest level (dB)</source>
        <translation>Nível mínimo (dB)</translation>
    </message>
    <message>
        <source>Lowest level (dB) counted and shown</source>
        <translation>Nível mínimo (dB) contado e mostrado</translation>
    </message>
    <message>
        <source>Highest level (dB)</source>
        <translation>Nível máximo (dB)</translation>
    </message>
    <message>
        <source>Highest level (dB) counted and shown</source>
        <translation>Nível máximo (dB) contado e mostrado</translation>
    </message>
    <message>
        <source>Graph Range</source>
        <translation>Faixa do gráfico</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
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
    <name>PlotWindow</name>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Normal mode</source>
        <translation>Modo normal</translation>
    </message>
    <message>
        <source>Cursor Coordinates</source>
        <translation>Coordenadas do cursor</translation>
    </message>
    <message>
        <source>Drag the cursor with your mouse to get X (Count) and Y (dB) position.</source>
        <translation>Arraste o cursor com o mouse para obter a posição X (contagem) e Y (dB).</translation>
    </message>
    <message>
        <source>PanXY</source>
        <translation>Deslocar XY</translation>
    </message>
    <message>
        <source>Click anywhere on the plot area and drag to pan the graph both horizontally and vertically.</source>
        <translation>Clique em qualquer ponto da área do gráfico e arraste para deslocá-lo na horizontal e na vertical.</translation>
    </message>
    <message>
        <source>PanX</source>
        <translation>Deslocar X</translation>
    </message>
    <message>
        <source>Click anywhere on the plot area and drag to pan the graph horizontally.</source>
        <translation>Clique em qualquer ponto da área do gráfico e arraste para deslocá-lo na horizontal.</translation>
    </message>
    <message>
        <source>PanY</source>
        <translation>Deslocar Y</translation>
    </message>
    <message>
        <source>Click anywhere on the plot area and drag to pan the graph vertically.</source>
        <translation>Clique em qualquer ponto da área do gráfico e arraste para deslocá-lo na vertical.</translation>
    </message>
    <message>
        <source>ZoomXY</source>
        <translation>Zoom XY</translation>
    </message>
    <message>
        <source>Select a region on the graph to zoom both horizontally and vertically.</source>
        <translation>Selecione uma região do gráfico para ampliá-la na horizontal e na vertical.</translation>
    </message>
    <message>
        <source>ZoomX</source>
        <translation>Zoom X</translation>
    </message>
    <message>
        <source>Select a region on the graph to zoom horizontally.</source>
        <translation>Selecione uma região do gráfico para ampliá-la na horizontal.</translation>
    </message>
    <message>
        <source>ZoomY</source>
        <translation>Zoom Y</translation>
    </message>
    <message>
        <source>Select a region on the graph to zoom vertically.</source>
        <translation>Selecione uma região do gráfico para ampliá-la na vertical.</translation>
    </message>
    <message>
        <source>Cursor 1&apos;s position, while it is dragged</source>
        <translation>A posição do cursor 1 enquanto é arrastado</translation>
    </message>
    <message>
        <source>Plot</source>
        <translation>Gráfico</translation>
    </message>
    <message>
        <source>The levels of the records (dB) over the record number</source>
        <translation>Os níveis dos registros (dB) pelo número do registro</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Mín</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Máx</translation>
    </message>
    <message>
        <source>%1 minimum</source>
        <translation>%1 mínimo</translation>
    </message>
    <message>
        <source>Lowest %1 shown (%2)</source>
        <translation>Menor %1 mostrado (%2)</translation>
    </message>
    <message>
        <source>%1 maximum</source>
        <translation>%1 máximo</translation>
    </message>
    <message>
        <source>Highest %1 shown (%2)</source>
        <translation>Maior %1 mostrado (%2)</translation>
    </message>
    <message>
        <source>Graph Range</source>
        <translation>Faixa do gráfico</translation>
    </message>
    <message>
        <source>Track Mode</source>
        <translation>Modo de rastreio</translation>
    </message>
    <message>
        <source>What the mouse does on the graph</source>
        <translation>O que o mouse faz no gráfico</translation>
    </message>
    <message>
        <source>Track modes</source>
        <translation>Modos de rastreio</translation>
    </message>
    <message>
        <source>Cursor X (No.s)</source>
        <translation>Cursor X (No.s)</translation>
    </message>
    <message>
        <source>Cursor Y (dB)</source>
        <translation>Cursor Y (dB)</translation>
    </message>
    <message>
        <source>Cursor Information</source>
        <translation>Informações do cursor</translation>
    </message>
    <message>
        <source>Reset Scale</source>
        <translation>Restaurar escala</translation>
    </message>
    <message>
        <source>Print Graph</source>
        <translation>Imprimir gráfico</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Visualizar</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>Exportar PDF</translation>
    </message>
    <message>
        <source>Graphic Plot</source>
        <translation>Gráfico</translation>
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
<context>
    <name>RealTimeGraph</name>
    <message>
        <source>Real Time Graph</source>
        <translation>Gráfico em tempo real</translation>
    </message>
    <message>
        <source>68 &lt;= dBA &lt;= 140, try again!</source>
        <translation>68 &lt;= dBA &lt;= 140, tente novamente!</translation>
    </message>
    <message>
        <source>10 &lt;= Counts &lt;= 864000, try again!</source>
        <translation>10 &lt;= Contagem &lt;= 864000, tente novamente!</translation>
    </message>
    <message>
        <source>The level sweeping from left to right, one step every half second, with the time of day at the start and the middle</source>
        <translation>O nível percorrendo da esquerda para a direita, um passo a cada meio segundo, com a hora do dia no início e no meio</translation>
    </message>
    <message>
        <source>Limit</source>
        <translation>Limites</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Saves the window&apos;s image as a PDF file</source>
        <translation>Salva a imagem da janela como arquivo PDF</translation>
    </message>
    <message>
        <source>Maximum level</source>
        <translation>Nível máximo</translation>
    </message>
    <message>
        <source>Top of the scale in dB, at most 140; Enter moves to Min</source>
        <translation>Topo da escala em dB, no máximo 140; Enter passa para Mín</translation>
    </message>
    <message>
        <source>Minimum level</source>
        <translation>Nível mínimo</translation>
    </message>
    <message>
        <source>Bottom of the scale in dB, at least 68; Enter moves to Records</source>
        <translation>Base da escala em dB, no mínimo 68; Enter passa para Registros</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>Registros</translation>
    </message>
    <message>
        <source>Records across the plot, 10 to 864000; Enter applies</source>
        <translation>Registros ao longo do gráfico, de 10 a 864000; Enter aplica</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Máx</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Mín</translation>
    </message>
</context>
<context>
    <name>StatisticsWindow</name>
    <message>
        <source>Exposure Statistics</source>
        <translation>Estatísticas de exposição</translation>
    </message>
    <message>
        <source>Criterion level</source>
        <translation>Nível de critério</translation>
    </message>
    <message>
        <source>The level (dB) at which 8 hours make a dose of 100 %</source>
        <translation>O nível (dB) em que 8 horas resultam numa dose de 100 %</translation>
    </message>
    <message>
        <source>Exchange rate</source>
        <translation>Taxa de troca</translation>
    </message>
    <message>
        <source>The level step (dB) that halves the time allowed</source>
        <translation>O aumento de nível (dB) que reduz à metade o tempo permitido</translation>
    </message>
    <message>
        <source>Threshold level</source>
        <translation>Nível limiar</translation>
    </message>
    <message>
        <source>Records below this level (dB) add no dose</source>
        <translation>Registros abaixo deste nível (dB) não somam dose</translation>
    </message>
    <message>
        <source>Criterion level (dB)</source>
        <translation>Nível de critério (dB)</translation>
    </message>
    <message>
        <source>Exchange rate (dB)</source>
        <translation>Taxa de troca (dB)</translation>
    </message>
    <message>
        <source>Threshold level (dB)</source>
        <translation>Nível limiar (dB)</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Copy the settings and the figures as text</source>
        <translation>Copia os ajustes e os valores como texto</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Visualizar</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>Exportar PDF</translation>
    </message>
    <message>
        <source>The printer could not be started.</source>
        <translation>Não foi possível iniciar a impressora.</translation>
    </message>
    <message>
        <source>PDF (*.pdf)</source>
        <translation>PDF (*.pdf)</translation>
    </message>
    <message>
        <source>%1 could not be written: %2.
An earlier file of that name is unchanged.</source>
        <translation>Não foi possível gravar %1: %2.
Um arquivo anterior com esse nome não foi alterado.</translation>
    </message>
</context>
</TS>
