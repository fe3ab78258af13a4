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
        <source>1 overload record used: the level was above the meter&apos;s 140 dB range, so LAeq, LEX,8h, the doses and the TWAs are lower bounds.</source>
        <translation>1 registro de sobrecarga usado: o nível ficou acima da faixa de 140 dB do medidor, então LAeq, LEX,8h, as doses e os TWAs são limites inferiores.</translation>
    </message>
    <message>
        <source>%1 overload records used: the level was above the meter&apos;s 140 dB range, so LAeq, LEX,8h, the doses and the TWAs are lower bounds.</source>
        <translation>%1 registros de sobrecarga usados: o nível ficou acima da faixa de 140 dB do medidor, então LAeq, LEX,8h, as doses e os TWAs são limites inferiores.</translation>
    </message>
    <message>
        <source>The overloads add %1 dB to LAeq.</source>
        <translation>As sobrecargas somam %1 dB ao LAeq.</translation>
    </message>
    <message>
        <source>The measurement covers %1 % of the shift: the projection assumes the unmeasured part of the shift is like the measured part.</source>
        <translation>A medição cobre %1 % do turno: a projeção supõe que a parte não medida do turno é como a parte medida.</translation>
    </message>
    <message>
        <source>The records fall in %1 shifts more than 4 hours apart: the pooled figures mix days.</source>
        <translation>Os registros caem em %1 turnos com mais de 4 horas entre eles: os valores agrupados misturam dias.</translation>
    </message>
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
    <message>
        <source>Task %1</source>
        <translation>Tarefa %1</translation>
    </message>
    <message>
        <source>%1 (records used)</source>
        <translation>%1 (registros usados)</translation>
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
    <name>AvgFile</name>
    <message>
        <source>The file</source>
        <translation>O arquivo</translation>
    </message>
    <message>
        <source>The file %1</source>
        <translation>O arquivo %1</translation>
    </message>
    <message>
        <source>the file</source>
        <translation>o arquivo</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 não é um arquivo comum.</translation>
    </message>
    <message>
        <source>%1 could not be opened: %2.</source>
        <translation>%1 não pôde ser aberto: %2.</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MB and is not an average file.</source>
        <translation>%1 tem mais de %2 MB e não é um arquivo de médias.</translation>
    </message>
    <message>
        <source>%1 could not be read: %2.</source>
        <translation>%1 não pôde ser lido: %2.</translation>
    </message>
    <message>
        <source>%1 is not an average file: it holds binary data.</source>
        <translation>%1 não é um arquivo de médias: contém dados binários.</translation>
    </message>
    <message>
        <source>Line %1 of %2 has no closing quote; it was read to the end of the line.</source>
        <translation>A linha %1 de %2 não fecha as aspas; foi lida até o fim da linha.</translation>
    </message>
    <message>
        <source>Line %1 of %2 is far too long for an average file; reading stopped there.</source>
        <translation>A linha %1 de %2 é longa demais para um arquivo de médias; a leitura parou ali.</translation>
    </message>
    <message>
        <source>%1 holds no average data: it is empty.</source>
        <translation>%1 não contém dados de médias: está vazio.</translation>
    </message>
    <message>
        <source>%1 ends after %2 of its %3 header lines; it may have been cut short.</source>
        <translation>%1 termina após %2 de suas %3 linhas de cabeçalho; pode ter sido cortado.</translation>
    </message>
</context>
<context>
    <name>BankDownload</name>
    <message>
        <source>The meter does not answer: banks %1 to E5 could not be read.</source>
        <translation>O medidor não responde: os bancos %1 a E5 não puderam ser lidos.</translation>
    </message>
    <message>
        <source>The meter does not answer: bank %1 could not be read.</source>
        <translation>O medidor não responde: o banco %1 não pôde ser lido.</translation>
    </message>
    <message>
        <source> Bank %1 could not be read either.</source>
        <translation> O banco %1 também não pôde ser lido.</translation>
    </message>
    <message>
        <source> Banks %1 could not be read either.</source>
        <translation> Os bancos %1 também não puderam ser lidos.</translation>
    </message>
    <message>
        <source>Bank %1 could not be read: the meter did not answer.</source>
        <translation>O banco %1 não pôde ser lido: o medidor não respondeu.</translation>
    </message>
    <message>
        <source>Banks %1 could not be read: the meter did not answer.</source>
        <translation>Os bancos %1 não puderam ser lidos: o medidor não respondeu.</translation>
    </message>
</context>
<context>
    <name>BankFile</name>
    <message>
        <source>The file</source>
        <translation>O arquivo</translation>
    </message>
    <message>
        <source>The file %1</source>
        <translation>O arquivo %1</translation>
    </message>
    <message>
        <source>Line %1 of %2 has no closing quote; it was read to the end of the line.</source>
        <translation>A linha %1 de %2 não fecha as aspas; foi lida até o fim da linha.</translation>
    </message>
    <message>
        <source>the file</source>
        <translation>o arquivo</translation>
    </message>
    <message>
        <source>Line %1 of %2 is far too long for a bank file; reading stopped there.</source>
        <translation>A linha %1 de %2 é longa demais para um arquivo de bancos; a leitura parou ali.</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MB and is not a bank file.</source>
        <translation>%1 tem mais de %2 MB e não é um arquivo de bancos.</translation>
    </message>
    <message>
        <source>%1 is not a bank file: it holds binary data.</source>
        <translation>%1 não é um arquivo de bancos: contém dados binários.</translation>
    </message>
    <message>
        <source>%1 holds %2 of the %3 lines of a bank file; only those were read.</source>
        <translation>%1 contém %2 das %3 linhas de um arquivo de bancos; só essas foram lidas.</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 não é um arquivo comum.</translation>
    </message>
    <message>
        <source>%1 could not be opened: %2.</source>
        <translation>%1 não pôde ser aberto: %2.</translation>
    </message>
    <message>
        <source>%1 could not be read: %2.</source>
        <translation>%1 não pôde ser lido: %2.</translation>
    </message>
    <message>
        <source>%1 could not be saved: %2.</source>
        <translation>%1 não pôde ser salvo: %2.</translation>
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
    <message>
        <source>Unlock</source>
        <translation>Destravar</translation>
    </message>
</context>
<context>
    <name>DatFile</name>
    <message>
        <source>The file</source>
        <translation>O arquivo</translation>
    </message>
    <message>
        <source>The file %1</source>
        <translation>O arquivo %1</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 não é um arquivo comum.</translation>
    </message>
    <message>
        <source>%1 could not be opened: %2.</source>
        <translation>%1 não pôde ser aberto: %2.</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MB and is not a data file.</source>
        <translation>%1 tem mais de %2 MB e não é um arquivo de dados.</translation>
    </message>
    <message>
        <source>%1 could not be read: %2.</source>
        <translation>%1 não pôde ser lido: %2.</translation>
    </message>
    <message>
        <source>%1 is not a data file: it holds binary data.</source>
        <translation>%1 não é um arquivo de dados: contém dados binários.</translation>
    </message>
    <message>
        <source>Line %1 of %2 is far too long for a data file; reading stopped there.</source>
        <translation>A linha %1 de %2 é longa demais para um arquivo de dados; a leitura parou ali.</translation>
    </message>
    <message>
        <source>the file</source>
        <translation>o arquivo</translation>
    </message>
    <message>
        <source>Line %1 of %2 has no closing quote; it was read to the end of the line.</source>
        <translation>A linha %1 de %2 não fecha as aspas; foi lida até o fim da linha.</translation>
    </message>
    <message>
        <source>Reading %1 was stopped.</source>
        <translation>A leitura de %1 foi interrompida.</translation>
    </message>
    <message>
        <source>%1 is empty: it is not a data file.</source>
        <translation>%1 está vazio: não é um arquivo de dados.</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
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
        <source>View File</source>
        <translation>Ver arquivo</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>Exportar PDF</translation>
    </message>
    <message>
        <source>Save As PDF</source>
        <translation>Salvar como PDF</translation>
    </message>
    <message>
        <source>Import into the library</source>
        <translation>Importar para a biblioteca</translation>
    </message>
    <message>
        <source>Library file</source>
        <translation>Arquivo da biblioteca</translation>
    </message>
    <message>
        <source>Add a data file as a sample</source>
        <translation>Adicionar um arquivo de dados como amostra</translation>
    </message>
    <message>
        <source>Data File[*.dat] (*.dat)</source>
        <translation>Arquivo de dados[*.dat] (*.dat)</translation>
    </message>
    <message>
        <source>All type[*.*] (*)</source>
        <translation>Todos os tipos[*.*] (*)</translation>
    </message>
    <message>
        <source>Bank type[*.bnk] (*.bnk)</source>
        <translation>Tipo banco[*.bnk] (*.bnk)</translation>
    </message>
    <message>
        <source>Avg type[*.avg] (*.avg)</source>
        <translation>Tipo média[*.avg] (*.avg)</translation>
    </message>
    <message>
        <source>Measurement files (*.dat *.bnk *.avg)</source>
        <translation>Arquivos de medição (*.dat *.bnk *.avg)</translation>
    </message>
    <message>
        <source>Library[*.sqlite] (*.sqlite)</source>
        <translation>Biblioteca[*.sqlite] (*.sqlite)</translation>
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
    <name>ExposureAssessment</name>
    <message>
        <source>&apos;%1&apos; is no criterion set: give osha-pel, osha-hc, niosh, acgih, or Lc:Q:Lt with the criterion level Lc 70 to 100 (whole dB), the exchange rate Q 3 to 6 and the threshold Lt 0 to 140 dB, such as 85:3:80</source>
        <translation>&apos;%1&apos; não é um conjunto de critérios: informe osha-pel, osha-hc, niosh, acgih ou Lc:Q:Lt, com o nível de critério Lc de 70 a 100 (dB inteiros), a taxa de troca Q de 3 a 6 e o limiar Lt de 0 a 140 dB, como 85:3:80</translation>
    </message>
    <message>
        <source>There is no list %1 to exclude records from.</source>
        <translation>Não há lista %1 da qual excluir registros.</translation>
    </message>
    <message>
        <source>Records %1 of %2: records are numbered from 1.</source>
        <translation>Registros %1 de %2: os registros são numerados a partir de 1.</translation>
    </message>
    <message>
        <source>Records %1 of %2: the first record is after the last.</source>
        <translation>Registros %1 de %2: o primeiro registro vem depois do último.</translation>
    </message>
    <message>
        <source>Records %1 are outside %2: it has %3 records.</source>
        <translation>Os registros %1 estão fora de %2, que tem %3 registros.</translation>
    </message>
    <message>
        <source>Give a reason for excluding records %1 of %2.</source>
        <translation>Informe um motivo para excluir os registros %1 de %2.</translation>
    </message>
    <message>
        <source>%1: its time stamps give no period (fewer than two can be read), so its records have no duration.</source>
        <translation>%1: seus horários não dão um período (menos de dois podem ser lidos), então seus registros não têm duração.</translation>
    </message>
    <message>
        <source>There are no levels to assess: every record with a level is excluded.</source>
        <translation>Não há níveis a avaliar: todo registro com nível está excluído.</translation>
    </message>
</context>
<context>
    <name>ExposureStandards</name>
    <message>
        <source>Country</source>
        <translation>País</translation>
    </message>
    <message>
        <source>Criterion level dBA</source>
        <translation>Nível de critério dBA</translation>
    </message>
    <message>
        <source>Exposure time</source>
        <translation>Tempo de exposição</translation>
    </message>
    <message>
        <source>Exchange Rate</source>
        <translation>Taxa de troca</translation>
    </message>
    <message>
        <source>MAX SPL</source>
        <translation>NPS máx.</translation>
    </message>
    <message>
        <source>Peak SPL</source>
        <translation>NPS de pico</translation>
    </message>
    <message>
        <source>Allowable/per day</source>
        <translation>Permitido/por dia</translation>
    </message>
    <message>
        <source>Germany</source>
        <translation>Alemanha</translation>
    </message>
    <message>
        <source>France</source>
        <translation>França</translation>
    </message>
    <message>
        <source>Belgium</source>
        <translation>Bélgica</translation>
    </message>
    <message>
        <source>U.K</source>
        <translation>Reino Unido</translation>
    </message>
    <message>
        <source>Ireland</source>
        <translation>Irlanda</translation>
    </message>
    <message>
        <source>Italy</source>
        <translation>Itália</translation>
    </message>
    <message>
        <source>Denmark</source>
        <translation>Dinamarca</translation>
    </message>
    <message>
        <source>Sweden</source>
        <translation>Suécia</translation>
    </message>
    <message>
        <source>U.S.A</source>
        <translation>EUA</translation>
    </message>
    <message>
        <source>Canada</source>
        <translation>Canadá</translation>
    </message>
    <message>
        <source>Australia</source>
        <translation>Austrália</translation>
    </message>
    <message>
        <source>Japan</source>
        <translation>Japão</translation>
    </message>
    <message>
        <source>Taiwan</source>
        <translation>Taiwan</translation>
    </message>
    <message>
        <source>Brazil</source>
        <translation>Brasil</translation>
    </message>
</context>
<context>
    <name>FigureCards</name>
    <message>
        <source>Records</source>
        <translation>Registros</translation>
    </message>
    <message>
        <source>Overloads</source>
        <translation>Sobrecargas</translation>
    </message>
    <message>
        <source>Under range</source>
        <translation>Abaixo da faixa</translation>
    </message>
    <message>
        <source>Coverage of the shift</source>
        <translation>Cobertura do turno</translation>
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
    <name>FileTransfer</name>
    <message>
        <source>Note</source>
        <translation>Observação</translation>
    </message>
    <message>
        <source>The effect of the properties of the Printer settings</source>
        <translation>O efeito das propriedades das configurações da impressora</translation>
    </message>
    <message>
        <source>depends on the driver supplied by the printer manufacturer.</source>
        <translation>depende do driver fornecido pelo fabricante da impressora.</translation>
    </message>
    <message>
        <source>Some property settings may have no effect, or several different property settings</source>
        <translation>Algumas configurações podem não ter efeito, ou várias configurações diferentes</translation>
    </message>
    <message>
        <source>may all have the same effect. Settings outside the accepted range may or may not produce an error.</source>
        <translation>podem ter todas o mesmo efeito. Configurações fora da faixa aceita podem ou não produzir um erro.</translation>
    </message>
    <message>
        <source>For more information, see the manufacturer&apos;s documentation for the specific driver.</source>
        <translation>Para mais informações, consulte a documentação do fabricante para o driver específico.</translation>
    </message>
    <message>
        <source>%1 could not be saved: %2.
An earlier file of that name is unchanged.</source>
        <translation>Não foi possível salvar %1: %2.
Um arquivo anterior com esse nome permanece inalterado.</translation>
    </message>
    <message>
        <source>Input record(s) to print in one row (1-5)</source>
        <translation>Informe o número de registros a imprimir por linha (1-5)</translation>
    </message>
</context>
<context>
    <name>GridView</name>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
</context>
<context>
    <name>GroupStatistics</name>
    <message>
        <source>A level of %1 dB is outside 0 to 140 dB.</source>
        <translation>Um nível de %1 dB está fora de 0 a 140 dB.</translation>
    </message>
    <message>
        <source>The week needs at least one day.</source>
        <translation>A semana precisa de pelo menos um dia.</translation>
    </message>
    <message>
        <source>A week has at most 7 working days; %1 given.</source>
        <translation>Uma semana tem no máximo 7 dias de trabalho; %1 informados.</translation>
    </message>
    <message>
        <source>The group needs at least one level.</source>
        <translation>O grupo precisa de pelo menos um nível.</translation>
    </message>
    <message>
        <source>The exposure limit is a level in dB between 0 and 140.</source>
        <translation>O limite de exposição é um nível em dB entre 0 e 140.</translation>
    </message>
</context>
<context>
    <name>HearingProtection</name>
    <message>
        <source>An LA of %1 dB is outside 0 to 140 dB.</source>
        <translation>Um LA de %1 dB está fora de 0 a 140 dB.</translation>
    </message>
    <message>
        <source>An LC of %1 dB is outside 0 to 140 dB.</source>
        <translation>Um LC de %1 dB está fora de 0 a 140 dB.</translation>
    </message>
    <message>
        <source>An octave band level of %1 dB is outside 0 to 140 dB.</source>
        <translation>Um nível de banda de oitava de %1 dB está fora de 0 a 140 dB.</translation>
    </message>
    <message>
        <source>An SNR of %1 dB is outside 0 to 60 dB.</source>
        <translation>Um SNR de %1 dB está fora de 0 a 60 dB.</translation>
    </message>
    <message>
        <source>An H, M or L of %1 dB is outside 0 to 60 dB.</source>
        <translation>Um H, M ou L de %1 dB está fora de 0 a 60 dB.</translation>
    </message>
    <message>
        <source>An NRR of %1 dB is outside 0 to 60 dB.</source>
        <translation>Um NRR de %1 dB está fora de 0 a 60 dB.</translation>
    </message>
    <message>
        <source>An assumed protection value of %1 dB is outside -20 to 60 dB.</source>
        <translation>Um valor de proteção presumido de %1 dB está fora de -20 a 60 dB.</translation>
    </message>
    <message>
        <source>A real-world allowance of %1 dB is outside 0 to 20 dB.</source>
        <translation>Uma correção de uso real de %1 dB está fora de 0 a 20 dB.</translation>
    </message>
    <message>
        <source>A wear time of %1 % is outside 0 to 100 %.</source>
        <translation>Um tempo de uso de %1 % está fora de 0 a 100 %.</translation>
    </message>
    <message>
        <source>An action level of %1 dB is outside 0 to 140 dB.</source>
        <translation>Um nível de ação de %1 dB está fora de 0 a 140 dB.</translation>
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
    <name>Iso9612</name>
    <message>
        <source>A sample of %1 dB is outside 0 to 140 dB.</source>
        <translation>Uma amostra de %1 dB está fora da faixa de 0 a 140 dB.</translation>
    </message>
    <message>
        <source>Task-based</source>
        <translation>A estratégia por tarefa</translation>
    </message>
    <message>
        <source>Job-based</source>
        <translation>A estratégia por função</translation>
    </message>
    <message>
        <source>Full-day</source>
        <translation>A estratégia de jornada inteira</translation>
    </message>
    <message>
        <source>Task-based needs at least one task.</source>
        <translation>A estratégia por tarefa precisa de pelo menos uma tarefa.</translation>
    </message>
    <message>
        <source>Task %1 has no sample.</source>
        <translation>A tarefa %1 não tem amostra.</translation>
    </message>
    <message>
        <source>Task %1: %2</source>
        <translation>Tarefa %1: %2</translation>
    </message>
    <message>
        <source>Task %1: its duration is more than 0 and at most 24 hours.</source>
        <translation>Tarefa %1: sua duração é maior que 0 e de no máximo 24 horas.</translation>
    </message>
    <message>
        <source>Task %1: its duration range runs from a shortest to a longest duration, 0 to 24 hours.</source>
        <translation>Tarefa %1: sua faixa de duração vai de uma duração mínima a uma máxima, de 0 a 24 horas.</translation>
    </message>
    <message>
        <source>Task %1 is given twice.</source>
        <translation>A tarefa %1 foi informada duas vezes.</translation>
    </message>
    <message>
        <source>The tasks last %1 hours together, more than a day.</source>
        <translation>As tarefas somam %1 horas, mais que um dia.</translation>
    </message>
    <message>
        <source>task %1: its samples span %2 dB, 3 dB or more; take more samples or divide the task</source>
        <translation>tarefa %1: suas amostras variam %2 dB, 3 dB ou mais; colete mais amostras ou divida a tarefa</translation>
    </message>
    <message>
        <source>%1 needs at least %2 samples; %3 given.</source>
        <translation>%1 precisa de pelo menos %2 amostras; %3 informadas.</translation>
    </message>
    <message>
        <source>The effective day Te is more than 0 and at most 24 hours.</source>
        <translation>A jornada efetiva Te é maior que 0 e de no máximo 24 horas.</translation>
    </message>
    <message>
        <source>c1u1 is %1 dB, above 3.5 dB: the measurement plan should be revised</source>
        <translation>c1u1 é %1 dB, acima de 3,5 dB: o plano de medição deve ser revisto</translation>
    </message>
    <message>
        <source>task %1: %2 of the 3 samples the standard asks for per task; its u1a is not estimated</source>
        <translation>tarefa %1: %2 das 3 amostras que a norma pede por tarefa; seu u1a não é estimado</translation>
    </message>
    <message>
        <source>u1 is %1 dB, beyond table C.4 (6 dB at most): c1u1 is its value at 6 dB, %2 dB, and the true one is larger</source>
        <translation>u1 é %1 dB, além da tabela C.4 (no máximo 6 dB): c1u1 é o seu valor em 6 dB, %2 dB, e o verdadeiro é maior</translation>
    </message>
</context>
<context>
    <name>KeepInLibraryBox</name>
    <message>
        <source>Keep in library</source>
        <translation>Guardar na biblioteca</translation>
    </message>
    <message>
        <source>Also store what Save writes in the measurement library</source>
        <translation>Guardar também na biblioteca de medições o que Salvar grava</translation>
    </message>
</context>
<context>
    <name>Library</name>
    <message>
        <source>The library %1 cannot be opened: the Qt SQL driver %2 is not installed (Debian: %3).</source>
        <translation>A biblioteca %1 não pode ser aberta: o driver SQL do Qt %2 não está instalado (Debian: %3).</translation>
    </message>
    <message>
        <source>The library %1 cannot be opened: it is a folder.</source>
        <translation>A biblioteca %1 não pode ser aberta: é uma pasta.</translation>
    </message>
    <message>
        <source>The library %1 cannot be created: the folder %2 cannot be made.</source>
        <translation>A biblioteca %1 não pode ser criada: a pasta %2 não pode ser criada.</translation>
    </message>
    <message>
        <source>The library %1 cannot be opened: %2.</source>
        <translation>A biblioteca %1 não pode ser aberta: %2.</translation>
    </message>
    <message>
        <source>The library %1 cannot be read</source>
        <translation>A biblioteca %1 não pode ser lida</translation>
    </message>
    <message>
        <source>The library %1 has no valid schema version; nothing was changed.</source>
        <translation>A biblioteca %1 não tem uma versão de esquema válida; nada foi alterado.</translation>
    </message>
    <message>
        <source>%1 is not a measurement library: it holds other tables. Nothing was changed.</source>
        <translation>%1 não é uma biblioteca de medições: contém outras tabelas. Nada foi alterado.</translation>
    </message>
    <message>
        <source>%1 is not a measurement library</source>
        <translation>%1 não é uma biblioteca de medições</translation>
    </message>
    <message>
        <source>The library %1 was made by a newer version of Dose Meter (library version %2; this program knows up to %3). Use the newer program with it; nothing was changed.</source>
        <translation>A biblioteca %1 foi criada por uma versão mais nova do Dose Meter (versão da biblioteca %2; este programa conhece até a %3). Use-a com o programa mais novo; nada foi alterado.</translation>
    </message>
    <message>
        <source>The library %1 cannot be opened</source>
        <translation>A biblioteca %1 não pode ser aberta</translation>
    </message>
    <message>
        <source>The library %1 cannot be prepared</source>
        <translation>A biblioteca %1 não pode ser preparada</translation>
    </message>
    <message>
        <source>The library %1 was made by a newer version of Dose Meter; nothing was changed.</source>
        <translation>A biblioteca %1 foi criada por uma versão mais nova do Dose Meter; nada foi alterado.</translation>
    </message>
    <message>
        <source>The library %1 could not be brought to version %2</source>
        <translation>A biblioteca %1 não pôde ser atualizada para a versão %2</translation>
    </message>
    <message>
        <source>The library %1 cannot be written</source>
        <translation>A biblioteca %1 não pode ser gravada</translation>
    </message>
    <message>
        <source>The library %1 could not keep the change</source>
        <translation>A biblioteca %1 não pôde guardar a alteração</translation>
    </message>
    <message>
        <source>No library is open.</source>
        <translation>Nenhuma biblioteca está aberta.</translation>
    </message>
    <message>
        <source>The file %1 is not a regular file.</source>
        <translation>O arquivo %1 não é um arquivo comum.</translation>
    </message>
    <message>
        <source>The file %1 could not be opened: %2.</source>
        <translation>O arquivo %1 não pôde ser aberto: %2.</translation>
    </message>
    <message>
        <source>The file %1 could not be read: %2.</source>
        <translation>O arquivo %1 não pôde ser lido: %2.</translation>
    </message>
    <message>
        <source>The file %1 is larger than %2 MB and is no measurement.</source>
        <translation>O arquivo %1 tem mais de %2 MB e não é uma medição.</translation>
    </message>
    <message>
        <source>The library could not store %1</source>
        <translation>A biblioteca não pôde guardar %1</translation>
    </message>
    <message>
        <source>The library could not be searched</source>
        <translation>A biblioteca não pôde ser pesquisada</translation>
    </message>
    <message>
        <source>The library could not be read</source>
        <translation>A biblioteca não pôde ser lida</translation>
    </message>
    <message>
        <source>The library could not change measurement %1</source>
        <translation>A biblioteca não pôde alterar a medição %1</translation>
    </message>
    <message>
        <source>The library could not delete measurement %1</source>
        <translation>A biblioteca não pôde excluir a medição %1</translation>
    </message>
    <message>
        <source>The file of measurement %1 is missing from the library.</source>
        <translation>O arquivo da medição %1 está faltando na biblioteca.</translation>
    </message>
    <message>
        <source>The file of measurement %1 is damaged in the library.</source>
        <translation>O arquivo da medição %1 está danificado na biblioteca.</translation>
    </message>
    <message>
        <source>%1 could not be written: %2.</source>
        <translation>%1 não pôde ser gravado: %2.</translation>
    </message>
    <message>
        <source>The library could not keep the excluded span</source>
        <translation>A biblioteca não pôde guardar o trecho excluído</translation>
    </message>
    <message>
        <source>The library could not delete the span</source>
        <translation>A biblioteca não pôde excluir o trecho</translation>
    </message>
    <message>
        <source>The library could not keep the excluded spans</source>
        <translation>A biblioteca não pôde guardar os trechos excluídos</translation>
    </message>
    <message>
        <source>The library could not be checked</source>
        <translation>A biblioteca não pôde ser verificada</translation>
    </message>
    <message>
        <source>a file belongs to no measurement (%1)</source>
        <translation>um arquivo não pertence a nenhuma medição (%1)</translation>
    </message>
    <message>
        <source>the server did not answer within %1 s</source>
        <translation>o servidor não respondeu em %1 s</translation>
    </message>
    <message>
        <source>it is read-only (the file, its folder or its file system)</source>
        <translation>ela é somente leitura (o arquivo, a sua pasta ou o seu sistema de arquivos)</translation>
    </message>
    <message>
        <source>its disk is full (%1 KB free)</source>
        <translation>o seu disco está cheio (%1 KB livres)</translation>
    </message>
    <message>
        <source>The library %1 cannot be created: %2.</source>
        <translation>A biblioteca %1 não pode ser criada: %2.</translation>
    </message>
    <message>
        <source>The library %1 is of an older version and cannot be brought up to date: it is read-only (the file, its folder or its file system). Open it once where it can be written.</source>
        <translation>A biblioteca %1 é de uma versão anterior e não pode ser atualizada: ela é somente leitura (o arquivo, a sua pasta ou o seu sistema de arquivos). Abra-a uma vez onde possa ser gravada.</translation>
    </message>
    <message>
        <source>The library %1 cannot be written: it is read-only (the file, its folder or its file system).</source>
        <translation>A biblioteca %1 não pode ser gravada: ela é somente leitura (o arquivo, a sua pasta ou o seu sistema de arquivos).</translation>
    </message>
    <message>
        <source>%1 could not be written: it is the library being read.</source>
        <translation>%1 não pôde ser gravado: é a biblioteca que está sendo lida.</translation>
    </message>
</context>
<context>
    <name>LibraryConnectDialog</name>
    <message>
        <source>Connect to a Library</source>
        <translation>Conectar a uma biblioteca</translation>
    </message>
    <message>
        <source>The library on this computer</source>
        <translation>A biblioteca deste computador</translation>
    </message>
    <message>
        <source>Another library file</source>
        <translation>Outro arquivo de biblioteca</translation>
    </message>
    <message>
        <source>A PostgreSQL database shared by a team</source>
        <translation>Um banco de dados PostgreSQL compartilhado por uma equipe</translation>
    </message>
    <message>
        <source>Library file</source>
        <translation>Arquivo da biblioteca</translation>
    </message>
    <message>
        <source>A SQLite library file; made when it does not exist</source>
        <translation>Um arquivo de biblioteca SQLite; criado quando não existe</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Procurar...</translation>
    </message>
    <message>
        <source>Server address</source>
        <translation>Endereço do servidor</translation>
    </message>
    <message>
        <source>The password goes in ~/.pgpass (host:port:dbname:user:password), never here.</source>
        <translation>A senha fica em ~/.pgpass (host:port:dbname:user:password), nunca aqui.</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Conectando...</translation>
    </message>
</context>
<context>
    <name>LibraryLocation</name>
    <message>
        <source>No library was given: give a file or a postgresql://[user@]host[:port]/dbname address.</source>
        <translation>Nenhuma biblioteca foi informada: informe um arquivo ou um endereço postgresql://[user@]host[:port]/dbname.</translation>
    </message>
    <message>
        <source>%1 is no library address: only postgresql:// addresses and file paths are libraries.</source>
        <translation>%1 não é um endereço de biblioteca: só endereços postgresql:// e caminhos de arquivo são bibliotecas.</translation>
    </message>
    <message>
        <source>The address holds a password. Leave it out and put it in ~/.pgpass (or the file PGPASSFILE names), so that it is kept neither in the settings nor in the list of running programs.</source>
        <translation>O endereço contém uma senha. Tire-a dele e coloque-a em ~/.pgpass (ou no arquivo que PGPASSFILE indicar), para que ela não fique guardada nem nas configurações nem na lista de programas em execução.</translation>
    </message>
    <message>
        <source>%1 is no PostgreSQL address (%2): write postgresql://[user@]host[:port]/dbname.</source>
        <translation>%1 não é um endereço PostgreSQL (%2): escreva postgresql://[usuário@]host[:porta]/banco.</translation>
    </message>
    <message>
        <source>the colon before // is missing</source>
        <translation>falta o dois-pontos antes de //</translation>
    </message>
    <message>
        <source>the scheme is not followed by //</source>
        <translation>o esquema não é seguido de //</translation>
    </message>
    <message>
        <source>%1 is no library address: only postgresql:// addresses and file paths are libraries; write ./%1 for a file of that name.</source>
        <translation>%1 não é um endereço de biblioteca: só endereços postgresql:// e caminhos de arquivo são bibliotecas; escreva ./%1 para um arquivo com esse nome.</translation>
    </message>
    <message>
        <source>its port is not a number from 1 to 65535</source>
        <translation>a sua porta não é um número de 1 a 65535</translation>
    </message>
    <message>
        <source>its IPv6 address is malformed</source>
        <translation>o seu endereço IPv6 está malformado</translation>
    </message>
    <message>
        <source>it is not a valid address</source>
        <translation>não é um endereço válido</translation>
    </message>
    <message>
        <source>no database name follows the host</source>
        <translation>nenhum nome de banco de dados segue o host</translation>
    </message>
    <message>
        <source>nothing may follow the database name</source>
        <translation>nada pode seguir o nome do banco de dados</translation>
    </message>
</context>
<context>
    <name>LibraryModel</name>
    <message>
        <source>Kind</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Início</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Duração</translation>
    </message>
    <message>
        <source>Worker</source>
        <translation>Trabalhador</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>Local</translation>
    </message>
    <message>
        <source>Job</source>
        <translation>Função/tarefa</translation>
    </message>
    <message>
        <source>Meter</source>
        <translation>Medidor</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>Registros</translation>
    </message>
    <message>
        <source>LAeq dB</source>
        <translation>LAeq dB</translation>
    </message>
    <message>
        <source>Measurement %1 is no longer in the library.</source>
        <translation>A medição %1 não está mais na biblioteca.</translation>
    </message>
    <message>
        <source>run</source>
        <translation>sessão</translation>
    </message>
    <message>
        <source>recording</source>
        <translation>gravação</translation>
    </message>
    <message>
        <source>list</source>
        <translation>lista</translation>
    </message>
    <message>
        <source>banks</source>
        <translation>bancos</translation>
    </message>
    <message>
        <source>average</source>
        <translation>média</translation>
    </message>
</context>
<context>
    <name>LibraryWindow</name>
    <message>
        <source>Measurement Library</source>
        <translation>Biblioteca de medições</translation>
    </message>
    <message>
        <source>Worker</source>
        <translation>Trabalhador</translation>
    </message>
    <message>
        <source>Shows the measurements whose worker holds this text</source>
        <translation>Mostra as medições cujo trabalhador contém este texto</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>Local</translation>
    </message>
    <message>
        <source>Shows the measurements whose site holds this text</source>
        <translation>Mostra as medições cujo local contém este texto</translation>
    </message>
    <message>
        <source>Job</source>
        <translation>Função/tarefa</translation>
    </message>
    <message>
        <source>Shows the measurements whose job holds this text</source>
        <translation>Mostra as medições cuja função/tarefa contém este texto</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Shows the measurements of one kind</source>
        <translation>Mostra as medições de um tipo</translation>
    </message>
    <message>
        <source>All kinds</source>
        <translation>Todos os tipos</translation>
    </message>
    <message>
        <source>From</source>
        <translation>De</translation>
    </message>
    <message>
        <source>The measurements that start on this day or later</source>
        <translation>As medições que começam neste dia ou depois</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Até</translation>
    </message>
    <message>
        <source>The measurements that start on this day or earlier</source>
        <translation>As medições que começam neste dia ou antes</translation>
    </message>
    <message>
        <source>Measurements</source>
        <translation>Medições</translation>
    </message>
    <message>
        <source>The measurements of the library; worker, site and job can be edited in place</source>
        <translation>As medições da biblioteca; trabalhador, local e função/tarefa podem ser editados na própria tabela</translation>
    </message>
    <message>
        <source>Import...</source>
        <translation>Importar...</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Assessment...</source>
        <translation>Avaliação...</translation>
    </message>
    <message>
        <source>Delete...</source>
        <translation>Excluir...</translation>
    </message>
    <message>
        <source>.dat, .bnk and .avg files into the library (or drop them on this window)</source>
        <translation>Arquivos .dat, .bnk e .avg para a biblioteca (ou solte-os nesta janela)</translation>
    </message>
    <message>
        <source>Show the measurement as its file opens</source>
        <translation>Mostra a medição como seu arquivo se abre</translation>
    </message>
    <message>
        <source>One exposure assessment of the chosen measurements</source>
        <translation>Uma avaliação de exposição das medições escolhidas</translation>
    </message>
    <message>
        <source>The exposure assessment is not part of this version</source>
        <translation>A avaliação de exposição não faz parte desta versão</translation>
    </message>
    <message>
        <source>%1 measurements in %2</source>
        <translation>%1 medições em %2</translation>
    </message>
    <message>
        <source>Importing into the library...</source>
        <translation>Importando para a biblioteca...</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Parar</translation>
    </message>
    <message>
        <source>%1: imported as measurement %2.</source>
        <translation>%1: importado como medição %2.</translation>
    </message>
    <message>
        <source>%1: already in the library as measurement %2.</source>
        <translation>%1: já está na biblioteca como medição %2.</translation>
    </message>
    <message>
        <source>%1: not imported. %2</source>
        <translation>%1: não importado. %2</translation>
    </message>
    <message>
        <source>No temporary folder for the measurement&apos;s file.</source>
        <translation>Não há pasta temporária para o arquivo da medição.</translation>
    </message>
    <message>
        <source>Measurement %1 is no longer in the library.</source>
        <translation>A medição %1 não está mais na biblioteca.</translation>
    </message>
    <message>
        <source>measurement %1 (%2)</source>
        <translation>a medição %1 (%2)</translation>
    </message>
    <message>
        <source>these %1 measurements</source>
        <translation>estas %1 medições</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Excluir</translation>
    </message>
    <message>
        <source>Delete %1 from the library? The stored files go with them; this cannot be undone.</source>
        <translation>Excluir %1 da biblioteca? Os arquivos armazenados são excluídos junto; isto não pode ser desfeito.</translation>
    </message>
</context>
<context>
    <name>LoggerDownload</name>
    <message>
        <source>ID code</source>
        <translation>código ID</translation>
    </message>
    <message>
        <source>interval</source>
        <translation>intervalo</translation>
    </message>
    <message>
        <source>memory-full flag</source>
        <translation>indicador de memória cheia</translation>
    </message>
    <message>
        <source>The meter did not answer: the logger memory could not be downloaded.</source>
        <translation>O medidor não respondeu: a memória do registrador não pôde ser transferida.</translation>
    </message>
    <message>
        <source>The logger&apos;s run table</source>
        <translation>A tabela de sessões do registrador</translation>
    </message>
    <message>
        <source>Set %1 of %2</source>
        <translation>O conjunto %1 de %2</translation>
    </message>
    <message>
        <source>The meter stopped sending: %1 of %2 bytes of the logger memory arrived. Nothing was listed.</source>
        <translation>O medidor parou de enviar: chegaram %1 de %2 bytes da memória do registrador. Nada foi listado.</translation>
    </message>
    <message>
        <source>%1 arrived different in each of three streams.</source>
        <translation>%1 chegou diferente em cada uma de três transmissões.</translation>
    </message>
    <message>
        <source>The logger memory</source>
        <translation>A memória do registrador</translation>
    </message>
    <message>
        <source>%1 arrived damaged: bytes were lost or added on the way, so its bytes differ from the meter&apos;s memory.</source>
        <translation>%1 chegou com danos: bytes foram perdidos ou acrescentados no caminho, e por isso seus bytes diferem da memória do medidor.</translation>
    </message>
    <message>
        <source>%1 is damaged in the meter: %2.</source>
        <translation>%1 está com danos no próprio medidor: %2.</translation>
    </message>
    <message>
        <source>%1 arrived damaged: %2.</source>
        <translation>%1 chegou com danos: %2.</translation>
    </message>
    <message>
        <source>The logger&apos;s %1 arrived damaged: register %2 reads %3 in the stream, %4 on its own.</source>
        <translation>O %1 do registrador chegou com danos: a posição de memória %2 vale %3 na transmissão e %4 lida sozinha.</translation>
    </message>
    <message>
        <source>%1 runs ending at %2, which no logger holds</source>
        <translation>%1 sessões terminando em %2, o que nenhum registrador comporta</translation>
    </message>
    <message>
        <source>The logger&apos;s run table is damaged in the meter: %1.</source>
        <translation>A tabela de sessões do registrador está com danos no próprio medidor: %1.</translation>
    </message>
    <message>
        <source>The logger&apos;s run table arrived damaged: %1.</source>
        <translation>A tabela de sessões do registrador chegou com danos: %1.</translation>
    </message>
    <message>
        <source> The serial line lost or changed bytes on the way; nothing was listed.</source>
        <translation> A linha serial perdeu ou alterou bytes no caminho; nada foi listado.</translation>
    </message>
    <message>
        <source> The meter&apos;s memory itself holds it, so downloading again brings the same; nothing was listed.</source>
        <translation> O dano está na própria memória do medidor, então transferir de novo traz o mesmo; nada foi listado.</translation>
    </message>
</context>
<context>
    <name>LoggerImage</name>
    <message>
        <source>the stream ended early</source>
        <translation>a transmissão terminou antes da hora</translation>
    </message>
    <message>
        <source>its run count reads %1, the register %2</source>
        <translation>sua contagem de sessões indica %1, a posição de memória %2</translation>
    </message>
    <message>
        <source>its run table ends at %1, the registers at %2</source>
        <translation>sua tabela de sessões termina em %1, as posições de memória em %2</translation>
    </message>
    <message>
        <source>its place in the run table (%1 to %2) is impossible</source>
        <translation>seu lugar na tabela de sessões (%1 a %2) é impossível</translation>
    </message>
</context>
<context>
    <name>LoggerSettings</name>
    <message>
        <source>Input ID Code from 1 to 65535 and press ENTER to confirm.</source>
        <translation>Digite o código ID de 1 a 65535 e pressione ENTER para confirmar.</translation>
    </message>
    <message>
        <source>Input a sample interval time from 0.1 to 6553 seconds and press Enter to confirm.</source>
        <translation>Digite um intervalo de amostragem de 0,1 a 6553 segundos e pressione Enter para confirmar.</translation>
    </message>
    <message>
        <source>Invalid, try again! 0 &lt;= ID Code &lt;= 65535.</source>
        <translation>Inválido, tente novamente! 0 &lt;= Código ID &lt;= 65535.</translation>
    </message>
    <message>
        <source>Invalid, try again! 0.1 &lt;= Interval &lt;= 6553.5.</source>
        <translation>Inválido, tente novamente! 0,1 &lt;= Intervalo &lt;= 6553,5.</translation>
    </message>
    <message>
        <source>All the data in memory will be deleted!</source>
        <translation>Todos os dados da memória serão apagados!</translation>
    </message>
</context>
<context>
    <name>LoggerWindow</name>
    <message>
        <source>Memory</source>
        <translation>Memória</translation>
    </message>
    <message>
        <source>ID Code</source>
        <translation>Código ID</translation>
    </message>
    <message>
        <source>Interval</source>
        <translation>Intervalo</translation>
    </message>
    <message>
        <source>Remain</source>
        <translation>Restante</translation>
    </message>
    <message>
        <source>Click to erase the meter&apos;s memory</source>
        <translation>Clique para apagar a memória do medidor</translation>
    </message>
    <message>
        <source>Verify</source>
        <translation>Verificar</translation>
    </message>
    <message>
        <source>Stream the memory twice and compare: the only guard against sample bytes the line changed, at twice the time</source>
        <translation>Transfere a memória duas vezes e compara: a única proteção contra bytes de amostras alterados na linha, ao custo do dobro do tempo</translation>
    </message>
    <message>
        <source>Recorded Set(s)</source>
        <translation>Conjunto(s) gravado(s)</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Detalhes</translation>
    </message>
    <message>
        <source>Note 1</source>
        <translation>Nota 1</translation>
    </message>
    <message>
        <source>Note 2</source>
        <translation>Nota 2</translation>
    </message>
    <message>
        <source>Note 3</source>
        <translation>Nota 3</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Salvar</translation>
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
        <source>The logger&apos;s ID code, 0 to 65535; Enter writes it to the meter</source>
        <translation>O código ID do registrador, 0 a 65535; Enter o grava no medidor</translation>
    </message>
    <message>
        <source>The logging interval in seconds, 0.1 to 6553.5; Enter writes it to the meter</source>
        <translation>O intervalo de registro em segundos, 0,1 a 6553,5; Enter o grava no medidor</translation>
    </message>
    <message>
        <source>Recorded sets</source>
        <translation>Conjuntos gravados</translation>
    </message>
    <message>
        <source>One line per recorded set; click a set to list its samples</source>
        <translation>Uma linha por conjunto gravado; clique em um conjunto para listar suas amostras</translation>
    </message>
    <message>
        <source>The samples of the set clicked</source>
        <translation>As amostras do conjunto clicado</translation>
    </message>
    <message>
        <source>A note saved and printed with the samples</source>
        <translation>Uma nota salva e impressa com as amostras</translation>
    </message>
    <message>
        <source>Download again?</source>
        <translation>Transferir novamente?</translation>
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
        <source>Library: %1</source>
        <translation>Biblioteca: %1</translation>
    </message>
    <message>
        <source>%1 was saved, but the library could not keep it.
%2</source>
        <translation>%1 foi salvo, mas a biblioteca não pôde guardá-lo.
%2</translation>
    </message>
    <message>
        <source>%1 is kept in the library as measurement %2.</source>
        <translation>%1 está guardado na biblioteca como medição %2.</translation>
    </message>
    <message>
        <source>%1 was already in the library as measurement %2.</source>
        <translation>%1 já estava na biblioteca como medição %2.</translation>
    </message>
    <message>
        <source>Measurement %1 holds no records of levels: an exposure assessment takes runs, recordings and lists.</source>
        <translation>A medição %1 não contém registros de níveis: uma avaliação de exposição aceita sessões do registrador, gravações e listas.</translation>
    </message>
    <message>
        <source>The Average window cannot open a file while a run goes on.</source>
        <translation>A janela Média não pode abrir um arquivo enquanto uma medição está em andamento.</translation>
    </message>
    <message>
        <source>A file cannot be viewed while a recording runs.</source>
        <translation>Não é possível ver um arquivo enquanto uma gravação está em andamento.</translation>
    </message>
    <message>
        <source>Click to choose the recording file</source>
        <translation>Clique para escolher o arquivo de gravação</translation>
    </message>
    <message>
        <source>Change the sample period</source>
        <translation>Alterar o período de amostragem</translation>
    </message>
    <message>
        <source>Recording stopped: the meter&apos;s display left dBA mode.
%1 records are in %2.</source>
        <translation>Gravação parada: o visor do medidor saiu do modo dBA.
%1 registros estão em %2.</translation>
    </message>
    <message>
        <source>Recording stopped after %1 records, the most one recording holds.
They are in %2.</source>
        <translation>Gravação parada após %1 registros, o máximo que uma gravação comporta.
Eles estão em %2.</translation>
    </message>
    <message>
        <source>Recording stopped: %1 could not be written: %2.
%3 records had been written to it.</source>
        <translation>Gravação parada: não foi possível gravar em %1: %2.
%3 registros já haviam sido gravados nele.</translation>
    </message>
    <message>
        <source>The list was closed: the meter&apos;s display left dBA mode.</source>
        <translation>A lista foi fechada: o visor do medidor saiu do modo dBA.</translation>
    </message>
    <message>
        <source>The list was closed after %1 rows, the most it holds.</source>
        <translation>A lista foi fechada após %1 linhas, o máximo que ela comporta.</translation>
    </message>
    <message>
        <source>
Save its %1 rows?</source>
        <translation>
Salvar suas %1 linhas?</translation>
    </message>
    <message>
        <source>The recording could not start: %1 could not be created: %2.</source>
        <translation>A gravação não pôde começar: não foi possível criar %1: %2.</translation>
    </message>
    <message>
        <source>Recording to %1</source>
        <translation>Gravando em %1</translation>
    </message>
    <message>
        <source>Recording stopped: %1 records are in %2.</source>
        <translation>Gravação parada: %1 registros estão em %2.</translation>
    </message>
    <message>
        <source>No reading from the meter for over 2 seconds: this is the last level read</source>
        <translation>Nenhuma leitura do medidor há mais de 2 segundos: este é o último nível lido</translation>
    </message>
    <message>
        <source>Waiting for the meter on %1 to answer...</source>
        <translation>Aguardando a resposta do medidor em %1...</translation>
    </message>
    <message>
        <source>No permission to open %1.
To use the meter, your user must be in the dialout group: run
    sudo adduser $USER dialout
then log out and log in again.</source>
        <translation>Sem permissão para abrir %1.
Para usar o medidor, seu usuário precisa estar no grupo dialout: execute
    sudo adduser $USER dialout
depois saia da sessão e entre novamente.</translation>
    </message>
    <message>
        <source>The eight-hour time-weighted average sound level(TWA),</source>
        <translation>O nível sonoro médio ponderado no tempo para oito horas (TWA),</translation>
    </message>
    <message>
        <source> in decibels, may be computed from the dose, in percent,</source>
        <translation> em decibéis, pode ser calculado a partir da dose, em porcentagem,</translation>
    </message>
    <message>
        <source> by means of the formula: TWA= %1 log(base10) (D/100) + %2.</source>
        <translation> por meio da fórmula: TWA= %1 log(base10) (D/100) + %2.</translation>
    </message>
    <message>
        <source> For an eight-hour workshift with the noise level constant over</source>
        <translation> Para uma jornada de oito horas com o nível de ruído constante durante</translation>
    </message>
    <message>
        <source> the entire shift, the TWA is equal to the measured sound level.</source>
        <translation> toda a jornada, o TWA é igual ao nível sonoro medido.</translation>
    </message>
    <message>
        <source>     The value of TWA is correct in slow response mode.</source>
        <translation>     O valor do TWA é correto na ponderação temporal lenta (Slow).</translation>
    </message>
    <message>
        <source>     If you want to check the value of TWA,</source>
        <translation>     Para conferir o valor do TWA,</translation>
    </message>
    <message>
        <source>     you have to set your meter to %DOSE display mode(use MODE key)</source>
        <translation>     coloque o medidor no modo de exibição %DOSE (tecla MODE)</translation>
    </message>
    <message>
        <source>     and set your meter to slow response mode and open list menu.</source>
        <translation>     e na ponderação temporal lenta, e abra o menu da lista.</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>Observação:</translation>
    </message>
    <message>
        <source>A recording is running (%1 records in %2). Stop it and quit?</source>
        <translation>Uma gravação está em andamento (%1 registros em %2). Pará-la e sair?</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation>Não é possível abrir %1: %2</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Rápida</translation>
    </message>
    <message>
        <source>Slow</source>
        <translation>Lenta</translation>
    </message>
    <message>
        <source>Dose Meter - Change sample rate</source>
        <translation>Dose Meter - Alteração da taxa de amostragem</translation>
    </message>
    <message>
        <source>Enter a value from .2 to 60 second<byte value="xd"/>
</source>
        <translation>Digite o valor desejado, de 0.2 à 60 segundos</translation>
    </message>
</context>
<context>
    <name>MeasurementReader</name>
    <message>
        <source>The file</source>
        <translation>O arquivo</translation>
    </message>
    <message>
        <source>The file %1</source>
        <translation>O arquivo %1</translation>
    </message>
    <message>
        <source>%1 is not a data file: its first line is not the heading &quot;No.s, Date, Time, dBA&quot;.</source>
        <translation>%1 não é um arquivo de dados: sua primeira linha não é o cabeçalho &quot;No.s, Date, Time, dBA&quot;.</translation>
    </message>
    <message>
        <source>%1 could not be read as a bank file.</source>
        <translation>%1 não pôde ser lido como arquivo de bancos.</translation>
    </message>
    <message>
        <source>%1 could not be read as an average file.</source>
        <translation>%1 não pôde ser lido como arquivo de médias.</translation>
    </message>
    <message>
        <source>%1 is empty.</source>
        <translation>%1 está vazio.</translation>
    </message>
    <message>
        <source>%1 was not stored: %2.</source>
        <translation>%1 não foi guardado: %2.</translation>
    </message>
    <message>
        <source>%1 is not a bank file: it holds binary data.</source>
        <translation>%1 não é um arquivo de bancos: contém dados binários.</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Key locked!</source>
        <translation>Teclado travado!</translation>
    </message>
    <message>
        <source>Invalid, try again!</source>
        <translation>Inválido, tente novamente!</translation>
    </message>
    <message>
        <source>Not dBA mode, continue? </source>
        <translation>Não está no modo dBA, continuar? </translation>
    </message>
    <message>
        <source>No device available !</source>
        <translation>Nenhum dispositivo disponível!</translation>
    </message>
    <message>
        <source>The meter is busy with another command. Try again when it has finished.</source>
        <translation>O medidor está ocupado com outro comando. Tente novamente quando ele terminar.</translation>
    </message>
</context>
<context>
    <name>NoteBoxes</name>
    <message>
        <source>Note %1</source>
        <translation>Nota %1</translation>
    </message>
    <message>
        <source>A note saved and printed with %1</source>
        <translation>Uma nota salva e impressa com %1</translation>
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
    <name>RecordListWindow</name>
    <message>
        <source> List</source>
        <translation> Lista</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Salvar</translation>
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
        <source>Samples</source>
        <translation>Amostras</translation>
    </message>
    <message>
        <source>The levels sampled, newest last</source>
        <translation>Os níveis amostrados, o mais recente por último</translation>
    </message>
    <message>
        <source>the samples</source>
        <translation>as amostras</translation>
    </message>
    <message>
        <source>The list cannot be saved while a recording runs</source>
        <translation>A lista não pode ser salva enquanto uma gravação está em andamento</translation>
    </message>
    <message>
        <source>Save the rows and notes as a data file</source>
        <translation>Salvar as linhas e as notas como arquivo de dados</translation>
    </message>
    <message>
        <source>The list&apos;s %1 rows are not saved, and cannot be saved while a recording runs.
Close the list and drop them?</source>
        <translation>As %1 linhas da lista não estão salvas e não podem ser salvas enquanto uma gravação está em andamento.
Fechar a lista e descartá-las?</translation>
    </message>
    <message>
        <source>The list&apos;s %1 rows are not saved.
Save them before closing the list?</source>
        <translation>As %1 linhas da lista não estão salvas.
Salvá-las antes de fechar a lista?</translation>
    </message>
</context>
<context>
    <name>RecordingFile</name>
    <message>
        <source>the system reported an error</source>
        <translation>o sistema informou um erro</translation>
    </message>
    <message>
        <source>the data could not be handed to the disk</source>
        <translation>os dados não puderam ser entregues ao disco</translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation>o arquivo não está aberto</translation>
    </message>
    <message>
        <source>the file was deleted</source>
        <translation>o arquivo foi apagado</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>é uma pasta</translation>
    </message>
</context>
<context>
    <name>Sampler</name>
    <message>
        <source>%1 Sec</source>
        <translation>%1 s</translation>
    </message>
</context>
<context>
    <name>SavedFileWindow</name>
    <message>
        <source>Saved File</source>
        <translation>Arquivo salvo</translation>
    </message>
    <message>
        <source>Plot</source>
        <translation>Gráfico</translation>
    </message>
    <message>
        <source>Plot the levels over the record number</source>
        <translation>Traça os níveis pelo número do registro</translation>
    </message>
    <message>
        <source>Histogram</source>
        <translation>Histograma</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Estatísticas</translation>
    </message>
    <message>
        <source>Exposure statistics of the levels</source>
        <translation>Estatísticas de exposição dos níveis</translation>
    </message>
    <message>
        <source>Assessment</source>
        <translation>Avaliação</translation>
    </message>
    <message>
        <source>Exposure assessment: dose under several criteria, the shift, excluded spans and ISO 9612</source>
        <translation>Avaliação de exposição: dose sob vários critérios, a jornada, trechos excluídos e ISO 9612</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>Print the records and notes</source>
        <translation>Imprimir os registros e as notas</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Visualizar</translation>
    </message>
    <message>
        <source>Show the printed pages</source>
        <translation>Mostrar as páginas impressas</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Resolução</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>Registros</translation>
    </message>
    <message>
        <source>The file&apos;s records in file order</source>
        <translation>Os registros do arquivo na ordem do arquivo</translation>
    </message>
    <message>
        <source>the records</source>
        <translation>os registros</translation>
    </message>
    <message>
        <source>%1
The %2 records read before that are shown.</source>
        <translation>%1
São mostrados os %2 registros lidos antes disso.</translation>
    </message>
    <message>
        <source>%1: the last record is incomplete; the %2 records before it are shown.</source>
        <translation>%1: o último registro está incompleto; são mostrados os %2 registros anteriores a ele.</translation>
    </message>
</context>
<context>
    <name>SetupSequence</name>
    <message>
        <source>Setup menu</source>
        <translation>Menu de configuração</translation>
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
        <source>Exchange rate</source>
        <translation>Taxa de troca</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Ano</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Mês</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Dia</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Minute</source>
        <translation>Minuto</translation>
    </message>
    <message>
        <source>Time weighting</source>
        <translation>Ponderação temporal</translation>
    </message>
    <message>
        <source>Set up successfully.</source>
        <translation>Configurado com sucesso.</translation>
    </message>
    <message>
        <source>The meter stopped answering, so the setup did not finish. Its settings may be partly changed: check the meter and its cable, then try again.</source>
        <translation>O medidor parou de responder, e a configuração não terminou. Suas configurações podem estar parcialmente alteradas: verifique o medidor e o cabo e tente novamente.</translation>
    </message>
    <message>
        <source>The meter is busy with another setup or with reading its settings. Try again when it has finished.</source>
        <translation>O medidor está ocupado com outra configuração ou com a leitura de suas configurações. Tente novamente quando terminar.</translation>
    </message>
    <message>
        <source>Year (century)</source>
        <translation>Ano (século)</translation>
    </message>
    <message>
        <source>Hour: the date changed while the meter&apos;s clock was being set. Run the setup again.</source>
        <translation>Hora: a data mudou enquanto o relógio do medidor era ajustado. Faça a configuração de novo.</translation>
    </message>
    <message>
        <source>%1: %2 display replies of the wrong length.</source>
        <translation>%1: %2 respostas do visor com tamanho errado.</translation>
    </message>
    <message>
        <source>%1 did not reach %2 in %3 presses.</source>
        <translation>%1 não chegou a %2 em %3 toques.</translation>
    </message>
    <message>
        <source>Time weighting did not change to %1.</source>
        <translation>A ponderação temporal não mudou para %1.</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Rápida</translation>
    </message>
    <message>
        <source>Slow</source>
        <translation>Lenta</translation>
    </message>
    <message>
        <source>%1: no whole display frame in %2 requests.</source>
        <translation>%1: nenhum quadro completo do visor em %2 pedidos.</translation>
    </message>
    <message>
        <source>%1: no whole status reply in %2 requests.</source>
        <translation>%1: nenhuma resposta de estado completa em %2 pedidos.</translation>
    </message>
    <message>
        <source>%1: the meter&apos;s display is not in its setup menu (a meter does not open it while it measures).</source>
        <translation>%1: o visor do medidor não está no menu de configuração (o medidor não o abre enquanto mede).</translation>
    </message>
</context>
<context>
    <name>SetupWindow</name>
    <message>
        <source>Setup</source>
        <translation>Configuração</translation>
    </message>
    <message>
        <source>Time Weighting</source>
        <translation>Ponderação temporal</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Rápida</translation>
    </message>
    <message>
        <source>Slow</source>
        <translation>Lenta</translation>
    </message>
    <message>
        <source>Criterion level</source>
        <translation>Nível de critério</translation>
    </message>
    <message>
        <source>Exchange rate</source>
        <translation>Taxa de troca</translation>
    </message>
    <message>
        <source>Threshold Level</source>
        <translation>Nível limiar</translation>
    </message>
    <message>
        <source>Threshold level</source>
        <translation>Nível limiar</translation>
    </message>
    <message>
        <source>The threshold level in dB, 70 to 90 and not above the criterion level</source>
        <translation>O nível limiar em dB, 70 a 90 e não acima do nível de critério</translation>
    </message>
    <message>
        <source>70-90 and &lt; C.L.</source>
        <translation>70-90 e &lt; N.C.</translation>
    </message>
    <message>
        <source>Date (computer system clock)</source>
        <translation>Data (relógio do computador)</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Ano</translation>
    </message>
    <message>
        <source>The year the meter&apos;s clock is set to</source>
        <translation>O ano em que o relógio do medidor é acertado</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Mês</translation>
    </message>
    <message>
        <source>The month the meter&apos;s clock is set to</source>
        <translation>O mês em que o relógio do medidor é acertado</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Dia</translation>
    </message>
    <message>
        <source>The day of the month the meter&apos;s clock is set to</source>
        <translation>O dia do mês em que o relógio do medidor é acertado</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>The hour the meter&apos;s clock is set to</source>
        <translation>A hora em que o relógio do medidor é acertado</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minutos</translation>
    </message>
    <message>
        <source>The minute the meter&apos;s clock is set to</source>
        <translation>O minuto em que o relógio do medidor é acertado</translation>
    </message>
    <message>
        <source>Setting up</source>
        <translation>Configurando</translation>
    </message>
    <message>
        <source>Moves while the meter is being set up</source>
        <translation>Move-se enquanto o medidor é configurado</translation>
    </message>
    <message>
        <source>The meter stopped answering at: %1.</source>
        <translation>O medidor parou de responder em: %1.</translation>
    </message>
</context>
<context>
    <name>ShiftReportPreview</name>
    <message>
        <source>Noise Exposure Report</source>
        <translation>Relatório de Exposição ao Ruído</translation>
    </message>
    <message>
        <source>&amp;Worker:</source>
        <translation>&amp;Trabalhador:</translation>
    </message>
    <message>
        <source>&amp;Site:</source>
        <translation>&amp;Local:</translation>
    </message>
    <message>
        <source>&amp;Job or task:</source>
        <translation>&amp;Função ou tarefa:</translation>
    </message>
    <message>
        <source>Report pages</source>
        <translation>Páginas do relatório</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimir...</translation>
    </message>
    <message>
        <source>&amp;Export PDF...</source>
        <translation>&amp;Exportar PDF...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Fe&amp;char</translation>
    </message>
    <message>
        <source>The report could not be printed.</source>
        <translation>Não foi possível imprimir o relatório.</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>Exportar PDF</translation>
    </message>
    <message>
        <source>%1 could not be written: %2.</source>
        <translation>%1 não pôde ser gravado: %2.</translation>
    </message>
</context>
<context>
    <name>StandardsWindow</name>
    <message>
        <source>These are the meter&apos;s presets, not today&apos;s regulations; the assessment&apos;s EU figures follow Directive 2003/10/EC.</source>
        <translation>Estes são os valores predefinidos do medidor, não a regulamentação atual; os números da UE na avaliação seguem a Diretiva 2003/10/CE.</translation>
    </message>
    <message>
        <source>Occupational Noise Exposure Standard</source>
        <translation>Norma de exposição ocupacional ao ruído</translation>
    </message>
    <message>
        <source>Click a country&apos;s name to set the meter&apos;s criterion level and exchange rate to its standard.</source>
        <translation>Clique no nome de um país para ajustar o nível de critério e a taxa de troca do medidor à sua norma.</translation>
    </message>
    <message>
        <source>Setting up</source>
        <translation>Configurando</translation>
    </message>
    <message>
        <source>Moves while the meter is being set to a standard</source>
        <translation>Move-se enquanto o medidor é ajustado a uma norma</translation>
    </message>
    <message>
        <source>Setting up %1: %2</source>
        <translation>Configurando %1: %2</translation>
    </message>
    <message>
        <source>Occupational noise exposure standards</source>
        <translation>Normas de exposição ocupacional ao ruído</translation>
    </message>
    <message>
        <source>Click a country to set the meter&apos;s criterion level and exchange rate to its standard</source>
        <translation>Clique em um país para ajustar o nível de critério e a taxa de troca do medidor à sua norma</translation>
    </message>
    <message>
        <source>Set the meter to the standard of %1</source>
        <translation>Ajustar o medidor à norma de: %1</translation>
    </message>
    <message>
        <source>%1: criterion level %2 dB, exchange rate %3.</source>
        <translation>%1: nível de critério %2 dB, taxa de troca %3.</translation>
    </message>
    <message>
        <source>%1: the meter stopped answering at: %2.</source>
        <translation>%1: o medidor parou de responder em: %2.</translation>
    </message>
    <message>
        <source>Click a country to set up criterion level and exchange rate. </source>
        <translation>Clique em um país para configurar o nível de critério e a taxa de troca. </translation>
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
